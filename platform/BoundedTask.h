// Work that may block on something outside the program (a print server that accepts the
// connection and never answers) runs on a thread of its own, so that the window keeps
// answering; the caller hears back on the user-interface thread, either with the result
// or that the time ran out, never both.
//
// A task that times out is abandoned, not stopped: it keeps whatever it captured alive
// until it returns, so it must capture by value (shared pointers for what it shares) and
// touch no widget. Whoever must know how such a task ended after all (a print job that the
// server took late) passes `late`, which then gets the result.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace platform {

// How long anything that talks to the print server may take before the user is told.
inline constexpr std::chrono::milliseconds kPrintServerLimit{5000};

template <class T> class BoundedTask {
public:
    // Starts `work` on a new thread. `done` runs on the user-interface thread with its result,
    // or `timedOut` runs there once `limit` has passed; neither runs once `context` is gone.
    // After `timedOut`, `late` (when given) runs there with the result when the work returns.
    static void Start(QObject* context, std::chrono::milliseconds limit, std::function<T()> work,
                      std::function<void(T)> done, std::function<void()> timedOut,
                      std::function<void(T)> late = {}) {
        auto state = std::make_shared<State>();
        state->context = context;
        state->done = std::move(done);
        state->timedOut = std::move(timedOut);
        state->late = std::move(late);

        QTimer::singleShot(limit, context, [state] {
            if (state->Settle()) {
                state->timedOutFirst = true;
                state->timedOut();
            }
        });
        std::thread([state, work = std::move(work)]() mutable {
            T result = work();
            {
                const std::lock_guard lock(state->mutex);
                state->result.emplace(std::move(result));
            }
            // The application object outlives every window; the delivery checks the window.
            if (QCoreApplication* app = QCoreApplication::instance())
                QMetaObject::invokeMethod(
                    app, [state] { state->Deliver(); }, Qt::QueuedConnection);
        }).detach();
    }

private:
    struct State {
        std::mutex mutex;
        bool settled = false; // only touched on the user-interface thread
        std::optional<T> result;
        QPointer<QObject> context;
        std::function<void(T)> done;
        std::function<void()> timedOut;
        std::function<void(T)> late;
        bool timedOutFirst = false;

        bool Settle() {
            if (settled)
                return false;
            settled = true;
            return true;
        }
        void Deliver() {
            if (timedOutFirst) {
                std::optional<T> value = Take();
                if (late && value)
                    late(std::move(*value));
                return;
            }
            if (context.isNull() || !Settle())
                return;
            if (std::optional<T> value = Take())
                done(std::move(*value));
        }
        std::optional<T> Take() {
            std::optional<T> value;
            const std::lock_guard lock(mutex);
            value.swap(result);
            return value;
        }
    };
};

// Runs `work` as a bounded task and waits for it. The windows keep painting meanwhile but
// take no input, so nothing can start another command under the one that waits. Empty when
// the time ran out; `late` then gets the result if the work ever returns.
template <class T>
std::optional<T> WaitBounded(std::function<T()> work,
                             std::chrono::milliseconds limit = kPrintServerLimit,
                             std::function<void(T)> late = {}) {
    QEventLoop wait;
    std::optional<T> result;
    QObject context;
    BoundedTask<T>::Start(
        &context, limit, std::move(work),
        [&](T value) {
            result.emplace(std::move(value));
            wait.quit();
        },
        [&] { wait.quit(); }, std::move(late));
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
}

} // namespace platform
