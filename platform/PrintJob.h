// Printing one page: the user picks a printer, and the page is drawn and sent as one job.
// No toolkit types here, so the receipt can print without knowing Qt.
#pragma once

#include <functional>
#include <string_view>

namespace page {
class PageSurface;
}

namespace platform {

using page::PageSurface;

// Shows the printer choice, modal over the active window. On confirmation opens a job named
// `jobName` on the chosen printer, hands `draw` the one page of the printable area and ends
// the job. A cancelled choice, a missing printer, a printer that cannot be opened or a job
// that is refused all end the print without a word.
void PrintOnePage(std::string_view jobName, const std::function<void(PageSurface&)>& draw);

} // namespace platform
