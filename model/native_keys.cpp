#include "model/native_keys.h"

#include "model/native_key_tables.h"

namespace tarvenor {

NativeKey native_key_of(KeyCode code) {
    const KeyCodeRow& row = key_code_table()[key_index_of(code)];
    return {row.vk, static_cast<std::uint8_t>(code & 0xFF), code >= 0x100};
}

KeyCode key_code_from_native(const NativeKey& key) {
    const std::uint32_t flags = std::uint32_t{key.scan} << 16 | (key.extended ? 1u << 24 : 0u);
    return key_code_from_key_message(key.vk, flags);
}

} // namespace tarvenor
