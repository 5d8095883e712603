// Prints an HTML file to PDF as Tovrik does, for tools/bench/pdf.sh to time and weigh:
//   tovrik-print PAGE.html OUT.pdf [SECONDS]
// Exit status 0 when the PDF is in place; otherwise the reason on standard error.

#include "base/browser.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: tovrik-print PAGE.html OUT.pdf [SECONDS]\n");
        return 2;
    }
    tovrik::PrintOptions options;
    if (argc == 4)
        options.timeout = std::chrono::seconds(std::atoi(argv[3]));
    const tovrik::PrintOutcome outcome = tovrik::printToPdf(argv[1], argv[2], options);
    if (!outcome) {
        std::fprintf(stderr, "%s\n", tovrik::printFaultText(outcome, argv[1], argv[2]).c_str());
        return 1;
    }
    return 0;
}
