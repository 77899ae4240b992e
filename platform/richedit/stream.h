#pragma once
// Stream-in and stream-out of the engine: the content travels in blocks through a callback,
// as EDITSTREAM does. Formats and flags are the SF_* / SFF_* constants of records.h.

#include <cstdint>
#include <functional>

namespace richedit {

// Called repeatedly with a buffer of `count` bytes: on stream-in the callback fills it and stores how
// many bytes it gave in `transferred` (0 ends the data); on stream-out it takes `count` bytes and stores
// how many it took. A non-zero return is an error that ends the transfer and is kept in dwError.
using EditStreamCallback = std::function<std::uint32_t(char* buffer, int count, int& transferred)>;

struct EDITSTREAM {
    EditStreamCallback pfnCallback;
    std::uint32_t dwError = 0;  // the callback's error, or an engine error after a failed transfer
};

}  // namespace richedit
