// lorvan-fontconv: writes a font file of the program from a PCF bitmap font.
//   lorvan-fontconv --preset normal|small [SOURCE] [-o OUTPUT]
//   lorvan-fontconv SOURCE CODES [--blank-width N] [--tabular-digits] [--no-cp1252]
//                   [--comment TEXT]... [-o OUTPUT]
// CODES lists character codes, e.g. 32-126,160-255. SOURCE is a .pcf or .pcf.gz file; a
// preset's default source is its file in the X11 misc font folder.
#include <fstream>
#include <iostream>

#include "fonts/fnt_writer.h"
#include "fonts/presets.h"

using namespace lorvan::fonttools;

namespace {

int Usage() {
  std::cerr << "usage: lorvan-fontconv --preset normal|small [SOURCE] [-o OUTPUT]\n"
               "       lorvan-fontconv SOURCE CODES [--blank-width N] [--tabular-digits] [--no-cp1252]\n"
               "                       [--comment TEXT]... [-o OUTPUT]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string source, output;
  FntOptions options;
  try {
    int i = 1;
    if (argc >= 3 && std::string(argv[1]) == "--preset") {
      const FontPreset* p = FindPreset(argv[2]);
      if (!p) return Usage();
      options = p->options;
      source = std::string(kX11MiscFolder) + "/" + p->source_file;
      i = 3;
      if (i < argc && argv[i][0] != '-') source = argv[i++];
    } else {
      if (argc < 3) return Usage();
      source = argv[1];
      options.codes = ParseCodeList(argv[2]);
      i = 3;
    }
    for (; i < argc; ++i) {
      const std::string a = argv[i];
      if (a == "--tabular-digits") {
        options.tabular_digits = true;
      } else if (a == "--no-cp1252") {
        options.cp1252 = false;
      } else if (a == "--blank-width" && i + 1 < argc) {
        options.blank_width = std::stoi(argv[++i]);
      } else if (a == "--comment" && i + 1 < argc) {
        options.header.emplace_back(argv[++i]);
      } else if (a == "-o" && i + 1 < argc) {
        output = argv[++i];
      } else {
        return Usage();
      }
    }
    const FntResult r = MakeFnt(PcfFont::Load(source), options);
    for (const auto& w : r.warnings) std::cerr << "lorvan-fontconv: " << w << "\n";
    if (output.empty()) {
      std::cout << r.text;
      return 0;
    }
    std::ofstream out(output, std::ios::binary);
    out << r.text;
    out.close();
    if (!out) {
      std::cerr << "lorvan-fontconv: " << output << ": cannot write the file\n";
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "lorvan-fontconv: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
