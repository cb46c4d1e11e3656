#include "fonts/pcf_font.h"

#include <zlib.h>

#include <array>

namespace lorvan::fonttools {
namespace {

// Table types of the PCF table of contents.
constexpr uint32_t kAccelerators = 1u << 1;
constexpr uint32_t kMetrics = 1u << 2;
constexpr uint32_t kBitmaps = 1u << 3;
constexpr uint32_t kEncodings = 1u << 5;
constexpr uint32_t kBdfAccelerators = 1u << 8;

// Format bits of each table.
constexpr uint32_t kCompressedMetrics = 0x100;
constexpr uint32_t kByteMsbFirst = 1u << 2;
constexpr uint32_t kBitMsbFirst = 1u << 3;

class Reader {
 public:
  Reader(const std::string& bytes, std::string name) : b_(bytes), name_(std::move(name)) {}

  [[noreturn]] void Fail(const std::string& what) const { throw FontError(name_ + ": " + what); }

  void Seek(size_t pos) {
    if (pos > b_.size()) Fail("table offset beyond the end of the file");
    pos_ = pos;
  }
  uint8_t U8() {
    if (pos_ >= b_.size()) Fail("unexpected end of the file");
    return static_cast<uint8_t>(b_[pos_++]);
  }
  uint32_t U32(bool msb) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const uint32_t byte = U8();
      v = msb ? (v << 8) | byte : v | (byte << (8 * i));
    }
    return v;
  }
  int32_t I32(bool msb) { return static_cast<int32_t>(U32(msb)); }
  int16_t I16(bool msb) {
    const uint16_t a = U8(), b = U8();
    return static_cast<int16_t>(msb ? (a << 8) | b : (b << 8) | a);
  }
  size_t Pos() const { return pos_; }
  const std::string& Bytes() const { return b_; }

 private:
  const std::string& b_;
  std::string name_;
  size_t pos_ = 0;
};

struct TableEntry {
  uint32_t format = 0, size = 0, offset = 0;
};

struct Metric {
  int lsb = 0, rsb = 0, width = 0, ascent = 0, descent = 0;
};

Metric ReadMetric(Reader& r, uint32_t format) {
  Metric m;
  const bool msb = format & kByteMsbFirst;
  if (format & kCompressedMetrics) {
    m.lsb = r.U8() - 0x80;
    m.rsb = r.U8() - 0x80;
    m.width = r.U8() - 0x80;
    m.ascent = r.U8() - 0x80;
    m.descent = r.U8() - 0x80;
  } else {
    m.lsb = r.I16(msb);
    m.rsb = r.I16(msb);
    m.width = r.I16(msb);
    m.ascent = r.I16(msb);
    m.descent = r.I16(msb);
    r.I16(msb);  // attributes
  }
  return m;
}

}  // namespace

std::string ReadMaybeGzip(const std::string& path) {
  gzFile f = gzopen(path.c_str(), "rb");  // reads plain files as they are
  if (!f) throw FontError(path + ": cannot open the file");
  std::string out;
  std::array<char, 65536> buf{};
  for (;;) {
    const int n = gzread(f, buf.data(), static_cast<unsigned>(buf.size()));
    if (n < 0) {
      gzclose(f);
      throw FontError(path + ": cannot read the file");
    }
    if (n == 0) break;
    out.append(buf.data(), static_cast<size_t>(n));
  }
  gzclose(f);
  return out;
}

PcfFont PcfFont::Load(const std::string& path) { return Parse(ReadMaybeGzip(path), path); }

PcfFont PcfFont::Parse(const std::string& bytes, const std::string& name) {
  Reader r(bytes, name);
  if (bytes.size() < 8 || bytes.compare(0, 4, "\1fcp") != 0) r.Fail("not a PCF font file");
  r.Seek(4);
  const int32_t count = r.I32(false);
  if (count < 0 || count > 64) r.Fail("implausible table count");
  std::map<uint32_t, TableEntry> toc;
  for (int i = 0; i < count; ++i) {
    const uint32_t type = r.U32(false);
    TableEntry e;
    e.format = r.U32(false);
    e.size = r.U32(false);
    e.offset = r.U32(false);
    toc[type] = e;
  }
  for (uint32_t needed : {kMetrics, kBitmaps, kEncodings}) {
    if (!toc.count(needed)) r.Fail("a table the tools need is missing");
  }

  PcfFont font;
  // Font ascent and descent from the accelerator table.
  const uint32_t acc_type = toc.count(kBdfAccelerators) ? kBdfAccelerators : kAccelerators;
  if (!toc.count(acc_type)) r.Fail("no accelerator table");
  r.Seek(toc[acc_type].offset);
  {
    const uint32_t format = r.U32(false);
    const bool msb = format & kByteMsbFirst;
    for (int i = 0; i < 8; ++i) r.U8();  // flags and padding
    font.font_ascent = r.I32(msb);
    font.font_descent = r.I32(msb);
  }

  // Metrics.
  r.Seek(toc[kMetrics].offset);
  std::vector<Metric> metrics;
  {
    const uint32_t format = r.U32(false);
    const bool msb = format & kByteMsbFirst;
    const int n = (format & kCompressedMetrics) ? r.I16(msb) : r.I32(msb);
    if (n < 0) r.Fail("negative glyph count");
    metrics.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) metrics.push_back(ReadMetric(r, format));
  }

  // Bitmaps.
  r.Seek(toc[kBitmaps].offset);
  const uint32_t bformat = r.U32(false);
  const bool bmsb = bformat & kByteMsbFirst;
  const bool bit_msb = bformat & kBitMsbFirst;
  const int pad = 1 << (bformat & 3);
  const int unit = 1 << ((bformat >> 4) & 3);
  const int32_t nbitmaps = r.I32(bmsb);
  if (nbitmaps != static_cast<int32_t>(metrics.size())) r.Fail("bitmap and metric counts differ");
  std::vector<uint32_t> offsets;
  for (int i = 0; i < nbitmaps; ++i) offsets.push_back(r.U32(bmsb));
  std::array<uint32_t, 4> sizes{};
  for (auto& s : sizes) s = r.U32(bmsb);
  const size_t data_start = r.Pos();
  const uint32_t data_size = sizes[bformat & 3];
  if (data_start + data_size > bytes.size()) r.Fail("bitmap data beyond the end of the file");

  auto glyph_of = [&](size_t index) {
    const Metric& m = metrics[index];
    Glyph g;
    g.left = m.lsb;
    g.width = m.rsb - m.lsb;
    g.ascent = m.ascent;
    g.descent = m.descent;
    g.advance = m.width;
    const int height = m.ascent + m.descent;
    if (g.width < 0 || height < 0) r.Fail("negative glyph size");
    const int stride = (g.width + pad * 8 - 1) / (pad * 8) * pad;
    size_t at = data_start + offsets[index];
    if (offsets[index] + static_cast<size_t>(stride) * height > data_size) r.Fail("glyph bitmap out of range");
    for (int y = 0; y < height; ++y, at += stride) {
      std::vector<bool> row(static_cast<size_t>(g.width));
      for (int x = 0; x < g.width; ++x) {
        size_t byte = static_cast<size_t>(x / 8);
        // Within a scan unit the bytes are swapped when byte and bit order differ.
        if (unit > 1 && bmsb != bit_msb) byte = byte / unit * unit + (unit - 1 - byte % unit);
        const uint8_t v = static_cast<uint8_t>(bytes[at + byte]);
        row[x] = bit_msb ? (v >> (7 - x % 8)) & 1 : (v >> (x % 8)) & 1;
      }
      g.rows.push_back(std::move(row));
    }
    return g;
  };

  // Encodings: code point to glyph index.
  r.Seek(toc[kEncodings].offset);
  {
    const uint32_t format = r.U32(false);
    const bool msb = format & kByteMsbFirst;
    const int min2 = r.I16(msb), max2 = r.I16(msb), min1 = r.I16(msb), max1 = r.I16(msb);
    r.I16(msb);  // default character
    if (min2 > max2 || min1 > max1) r.Fail("bad encoding table");
    for (int b1 = min1; b1 <= max1; ++b1) {
      for (int b2 = min2; b2 <= max2; ++b2) {
        const uint16_t index = static_cast<uint16_t>(r.I16(msb));
        if (index == 0xFFFF) continue;
        if (index >= metrics.size()) r.Fail("glyph index out of range");
        font.glyphs[static_cast<uint32_t>(b1 << 8 | b2)] = glyph_of(index);
      }
    }
  }
  return font;
}

}  // namespace lorvan::fonttools
