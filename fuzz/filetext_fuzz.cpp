// Arbitrary bytes as a whole appointment file: the texts read from it, once saved, read
// back unchanged apart from the deleted lines, and saving them again writes the same bytes.
#include "store/filerules.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::vector<std::string> texts = dvw::SplitFileText(bytes);
    const std::string saved = dvw::JoinFileText(texts);
    const std::vector<std::string> again = dvw::SplitFileText(saved);

    std::size_t kept = 0;
    for (const auto &text : texts) {
        if (text.empty())
            std::abort();
        if (text.starts_with('~'))
            continue;
        if (kept >= again.size() || again[kept] != text)
            std::abort();
        ++kept;
    }
    if (kept != again.size())
        std::abort();
    for (const auto &text : again)
        if (text.starts_with('~'))
            std::abort();
    if (dvw::JoinFileText(again) != saved)
        std::abort();
    return 0;
}
