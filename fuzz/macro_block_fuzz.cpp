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
    decode_macro_block(bytes, texts);
    // Most inputs lack the block's magic; spend the effort past it.
    Bytes block(bytes.begin(), bytes.end());
    if (block.size() >= 2) {
        write_u16(block, 0, MacroBlockLayout::kMagic);
    }
    const MacroStore macros = decode_macro_block(block, texts);
    build_macro_block(macros, true);
    return 0;
}
