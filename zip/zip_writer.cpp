#include "zip/zip_writer.h"

#include <zlib.h>

#include <stdexcept>

namespace zip {
namespace {

void put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}

void put32(std::string& out, uint32_t v) {
  put16(out, static_cast<uint16_t>(v & 0xffff));
  put16(out, static_cast<uint16_t>(v >> 16));
}

std::string deflateRaw(const std::string& data) {
  z_stream s{};
  if (deflateInit2(&s, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&s, static_cast<uLong>(data.size())), '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

}  // namespace

ZipWriter& ZipWriter::add(const std::string& name, const std::string& data) {
  entries_.push_back(Entry{name, data});
  return *this;
}

ZipWriter& ZipWriter::add(Entry entry) {
  entries_.push_back(std::move(entry));
  return *this;
}

ZipWriter& ZipWriter::addDirectory(const std::string& name) {
  Entry e{name, ""};
  e.deflate = false;
  e.external = 0x10;
  entries_.push_back(e);
  return *this;
}

std::string ZipWriter::bytes() {
  std::string out, central;
  offsets_.clear();
  for (const Entry& e : entries_) {
    std::string packed = e.deflate ? deflateRaw(e.data) : e.data;
    uint32_t crc = e.declaredCrc.value_or(static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size()))));
    uint32_t size = e.declaredSize.value_or(static_cast<uint32_t>(e.data.size()));
    uint32_t localOffset = static_cast<uint32_t>(out.size());
    put32(out, 0x04034b50);
    put16(out, 20);
    put16(out, e.flags);
    put16(out, e.deflate ? 8 : 0);
    put16(out, 0x6000);  // 12:00
    put16(out, 0x5A21);  // 2025-01-01
    put32(out, crc);
    put32(out, static_cast<uint32_t>(packed.size()));
    put32(out, size);
    put16(out, static_cast<uint16_t>(e.name.size()));
    put16(out, 0);
    out += e.name;
    offsets_.push_back(out.size());
    out += packed;

    put32(central, 0x02014b50);
    put16(central, e.madeBy);
    put16(central, 20);
    put16(central, e.flags);
    put16(central, e.deflate ? 8 : 0);
    put16(central, 0x6000);
    put16(central, 0x5A21);
    put32(central, crc);
    put32(central, static_cast<uint32_t>(packed.size()));
    put32(central, size);
    put16(central, static_cast<uint16_t>(e.name.size()));
    put16(central, 0);
    put16(central, 0);
    put16(central, 0);
    put16(central, 0);
    put32(central, e.external);
    put32(central, localOffset);
    central += e.name;
  }
  uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out += central;
  put32(out, 0x06054b50);
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<uint16_t>(entries_.size()));
  put16(out, static_cast<uint16_t>(entries_.size()));
  put32(out, static_cast<uint32_t>(central.size()));
  put32(out, centralOffset);
  put16(out, 0);
  return out;
}

}  // namespace zip
