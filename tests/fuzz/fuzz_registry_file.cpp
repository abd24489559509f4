// The registry file parser: whatever it reads, writing it out and reading that again must give the same
// document, with no line left unread.
#include "settings/RegistryDocument.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray written = kiv::RegistryDocument::parse(input).document.serialize();
    const auto again = kiv::RegistryDocument::parse(written);
    if (again.unreadableLines != 0 || again.document.serialize() != written)
        std::abort();
    return 0;
}
