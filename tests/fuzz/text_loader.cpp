// Fuzzes text decoding, line files and paragraph layout: no crash, and text
// saved by the encoder decodes back to the same characters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Files.h"
#include "data/TTxtFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string text = DecodeTextBytes(bytes);
    if (DecodeTextBytes(EncodeTextBytes(text)) != text) std::abort();

    TTxtFile f;
    f.setFromText(text);
    auto shared = std::make_shared<TTxtFile>(f);
    for (int n = -1; n <= f.lines() + 1; ++n) textLine(shared, n);

    const float width = size ? static_cast<float>(data[0] % 200) : 50.0f;
    static const char* aligns[] = {"LEFT", "RIGHT", "CENTER", "JUSTIFY"};
    const char* align = aligns[size > 1 ? data[1] % 4 : 0];
    for (int i = 0; i < f.lines() && i < 50; ++i) {
        const std::string& line = f.txt[static_cast<size_t>(i)];
        int h = drawTextBlock(line, 0, 0, width, align, nullptr, 1);
        int m = measureTextBlock(line, width, align, nullptr, 1);
        if (h <= 0 || m < h) std::abort();
        drawOutlinedText(line, 10, 10, nullptr, nullptr, align);
    }
    Utf8Upper(text);
    EqualsNoCase(text, "settings");
    return 0;
}
