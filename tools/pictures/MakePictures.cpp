// Writes the picture strips of the program's buttons into a folder (the program folder's Res/).
#include <cstdio>
#include <fstream>
#include <string>

#include "ButtonPictures.h"
#include "platform/PictureFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    for (const ButtonPicture& picture : ButtonPictures()) {
        const std::string path = folder + "/" + std::string(picture.file);
        const std::vector<uint8_t> bytes = platform::EncodeBmp(DrawStrip(picture.glyph));
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "%s: could not write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
