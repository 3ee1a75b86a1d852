// Feeds arbitrary bytes to the macro block decoder as if read from the keyboard's macro area,
// then builds a block from whatever was decoded.
#include "model/macro_block.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvenor;
    const std::span<const std::uint8_t> bytes(data, size);
    macro_block_read_size(bytes.first(std::min<std::size_t>(bytes.size(), 16)));
    const TextTable texts;
    const MacroStore macros = DecodeMacroBlock(bytes, texts);
    build_macro_block(macros, true);
    return 0;
}
