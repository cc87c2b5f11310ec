// Writes the Layout page's pictures for the resource compiler:
//
//   make_layout_pictures OUTPUT_DIR
//
// OUTPUT_DIR/layout_pictures/<id>.bmp and <id>.ico, and
// OUTPUT_DIR/layout_pictures.rc naming them by id. The same input always
// gives the same bytes.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "image_files.h"
#include "layout_pictures.h"

namespace {

const char kSubfolder[] = "layout_pictures";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string root = argv[1];
  const std::string folder = root + "/" + kSubfolder;
  mkdir(root.c_str(), 0777);
  mkdir(folder.c_str(), 0777);

  std::string script = "// Made by make_layout_pictures: the Layout page's pictures.\n";
  Raster raster(1, 1, kTeal);
  for (const PictureSpec& spec : PreviewCatalogue()) {
    const std::string name = std::to_string(spec.id) + ".bmp";
    if (!DrawPreview(spec.id, &raster) ||
        !WriteFile(folder + "/" + name, EncodeBitmapFile(raster))) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
    script += std::to_string(spec.id) + " BITMAP \"" + kSubfolder + "/" + name + "\"\n";
  }
  for (const PictureSpec& spec : IconCatalogue()) {
    const std::string name = std::to_string(spec.id) + ".ico";
    if (!DrawIcon(spec.id, &raster) || !WriteFile(folder + "/" + name, EncodeIconFile(raster))) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
    script += std::to_string(spec.id) + " ICON \"" + kSubfolder + "/" + name + "\"\n";
  }
  // Captions for the contact sheets.
  std::string captions;
  for (const PictureSpec& spec : PreviewCatalogue())
    captions += std::to_string(spec.id) + ".bmp\t" + spec.caption + "\n";
  for (const PictureSpec& spec : IconCatalogue())
    captions += std::to_string(spec.id) + ".ico\t" + spec.caption + "\n";
  const std::vector<uint8_t> scriptBytes(script.begin(), script.end());
  const std::vector<uint8_t> captionBytes(captions.begin(), captions.end());
  if (!WriteFile(root + "/layout_pictures.rc", scriptBytes) ||
      !WriteFile(folder + "/captions.txt", captionBytes)) {
    std::fprintf(stderr, "cannot write the resource script\n");
    return 1;
  }
  return 0;
}
