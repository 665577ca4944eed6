// Encoding time of a snapshot: the program's encoder on one frame of the test camera, laid out
// as the grabber hands it over (BGR, rows bottom-up, DIB pitch). snapshot_table.sh runs it beside
// tjbench on the same frame.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/ImageEncoder.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <top-down BGR file> <width> <height> <runs>\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const int runs = std::max(1, std::atoi(argv[4]));
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)), {});
    const size_t row = static_cast<size_t>(width) * 3;
    if (width <= 0 || height <= 0 || raw.size() < row * height) {
        std::fprintf(stderr, "%s: not a %dx%d BGR frame\n", argv[1], width, height);
        return 1;
    }
    const size_t stride = platform::DibRowStride(width);
    std::vector<uint8_t> frame(stride * height, 0);
    for (int y = 0; y < height; ++y)
        std::copy_n(raw.data() + row * y, row, frame.data() + stride * (height - 1 - y));

    platform::TurboJpegEncoder encoder;
    std::vector<uint8_t> out(encoder.JpegBufferSize(width, height));
    std::vector<double> ms;
    size_t size = 0;
    for (int i = 0; i < runs + 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        size = encoder.EncodeJpeg(frame, width, height, 75, out);
        const auto end = std::chrono::steady_clock::now();
        if (size == 0) return 1;
        if (i >= 5) ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%dx%d EncodeJpeg: median %.3f ms, best %.3f ms, %zu bytes\n", width, height, ms[ms.size() / 2],
                ms.front(), size);
    return 0;
}
