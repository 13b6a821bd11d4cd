// Arbitrary bytes as a recovery copy: reading never fails otherwise than by saying "no
// copy", and a copy that reads writes back to bytes that read as the same copy.
#include "store/filerules.h"
#include "store/recoverycopy.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::optional<dvw::RecoveryCopy> copy = dvw::ReadRecoveryCopy(bytes);
    if (!copy)
        return 0;
    for (const auto &line : copy->lines) {
        if (line.empty())
            std::abort();
    }
    const std::optional<dvw::RecoveryCopy> again
        = dvw::ReadRecoveryCopy(dvw::RecoveryCopyBytes(*copy));
    if (!again || again->path != copy->path || again->base != copy->base || again->pid != copy->pid
        || again->lines != dvw::SplitFileText(dvw::JoinFileText(copy->lines)))
        std::abort();
    return 0;
}
