// Printing one page: the user picks a destination in "Imprimir recibo", and the page is
// drawn and sent to the printer as one job. No toolkit types here, so the receipt can print
// without knowing Qt.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace page {
class PageSurface;
}

namespace platform {

using page::PageSurface;

struct PrintOutcome {
    enum class Kind {
        Cancelled, // the user closed the choice: nothing printed, nothing said
        Printed,   // the job was handed over to `printer`
        PdfFile,   // the user chose a PDF file; the caller asks for its name and writes it
        Failed,    // the user has been told why, naming `printer`
    };
    Kind kind = Kind::Cancelled;
    std::string printer;
};

// Runs on the user-interface thread, with the printer's name, when a job that the server did
// not take in time was taken after all.
using PrintedLate = std::function<void(const std::string& printer)>;

// Shows "Imprimir recibo", modal over the active window, with `draw` as its preview. When a
// printer is confirmed, opens a job named `jobName` on it, hands `draw` the one page of the
// printable area and ends the job, all on a worker thread with a bounded wait. A job that
// cannot be started or that the printer refuses is reported in a message that names the
// printer and the reason.
//
// A server that does not answer in time is reported too (Failed), but the hand-over goes on
// in the background: the job may still reach the printer. When the server takes it after
// all, `printedLate` runs (the caller records the receipt and tells the user); without
// one, the user is told here. When it refuses it after all, the user is told here.
//
// `beforeJob`, when given, runs once the user has confirmed a printer and before anything
// is handed over, with the printer's name: false prints nothing (Cancelled), and whoever
// refused has told the user why.
using BeforeJob = std::function<bool(const std::string& printer)>;
PrintOutcome PrintOnePage(std::string_view jobName, std::function<void(PageSurface&)> draw,
                          PrintedLate printedLate = {}, const BeforeJob& beforeJob = {});

// Prints `count` pages as one job named `jobName` on the print queue `printer`, without a
// dialog, on the calling thread: `draw(i, page)` draws the i-th and returns false to
// cancel, which abandons the job before anything reaches the queue. Printed when the
// server took the job; Failed with `reason` in Spanish otherwise.
enum class PagesOutcome { Printed, Cancelled, Failed };
PagesOutcome PrintPages(const std::string& printer, std::string_view jobName, std::ptrdiff_t count,
                        const std::function<bool(std::ptrdiff_t, PageSurface&)>& draw,
                        std::string& reason);

} // namespace platform
