// Feeds arbitrary bytes to the profile file reader: header check, load and a save of what was
// loaded must never read outside the input or crash. A whole file is far larger than inputs the
// fuzzer grows, so the input is spread over one: its first two bytes say how many of the
// following bytes open the image (the rest of the image stays zero), and whatever remains
// follows the image as macro and text area.
#include "model/configuration_image.h"
#include "model/file_header.h"
#include "model/profile_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvenor;
    if (size < 2) {
        return 0;
    }
    const std::size_t image_part = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
    const std::span<const std::uint8_t> head(data + 2, image_part);
    const std::span<const std::uint8_t> tail(data + 2 + image_part, size - 2 - image_part);

    Bytes file(ConfigurationImage::kSize, 0);
    std::copy(head.begin(), head.end(), file.begin());
    file.insert(file.end(), tail.begin(), tail.end());

    is_valid_file_header(std::span(file).first(FileHeader::kSize), file.size());
    Configuration config;
    if (load_profile_bytes(file, config)) {
        serialise_profile_file(config);
    }
    // The bare input as a (usually too short) file.
    Configuration bare;
    load_profile_bytes(std::span(data, size), bare);
    return 0;
}
