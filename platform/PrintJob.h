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

// Shows "Imprimir recibo", modal over the active window, with `draw` as its preview. When a
// printer is confirmed, opens a job named `jobName` on it, hands `draw` the one page of the
// printable area and ends the job, all on a worker thread with a bounded wait. A job that
// cannot be started, that the printer refuses or that the server does not take in time is
// reported in a message that names the printer and the reason.
PrintOutcome PrintOnePage(std::string_view jobName, std::function<void(PageSurface&)> draw);

// Prints `count` pages as one job named `jobName` on the print queue `printer`, without a
// dialog, on the calling thread: `draw(i, page)` draws the i-th and returns false to
// cancel, which abandons the job before anything reaches the queue. Printed when the
// server took the job; Failed with `reason` in Spanish otherwise.
enum class PagesOutcome { Printed, Cancelled, Failed };
PagesOutcome PrintPages(const std::string& printer, std::string_view jobName, std::ptrdiff_t count,
                        const std::function<bool(std::ptrdiff_t, PageSurface&)>& draw,
                        std::string& reason);

} // namespace platform
