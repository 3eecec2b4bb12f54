#include "archive_fixtures.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <random>

#include "archive/seven_zip.h"
#include "support/jar_files.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

std::string Trimmed(std::string name) {
  while (!name.empty() && name.back() == '/') name.pop_back();
  return name;
}

void AddZipEntry(zip_t* zip, const FakeEntry& entry) {
  if (entry.name.back() == '/') {
    ASSERT_GE(zip_dir_add(zip, entry.name.c_str(), 0), 0);
    return;
  }
  const std::string& body = entry.link_target.empty() ? entry.data : entry.link_target;
  zip_source_t* source = zip_source_buffer(zip, body.data(), body.size(), 0);
  zip_int64_t at = zip_file_add(zip, entry.name.c_str(), source, ZIP_FL_OVERWRITE);
  ASSERT_GE(at, 0) << entry.name;
  if (entry.stored) zip_set_file_compression(zip, at, ZIP_CM_STORE, 0);
  if (!entry.link_target.empty())
    zip_file_set_external_attributes(zip, at, 0, ZIP_OPSYS_UNIX, (0120777u) << 16);
}

}  // namespace

void MakeZip(const std::string& path, const std::vector<FakeEntry>& entries) {
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_NE(zip, nullptr);
  for (const FakeEntry& entry : entries) AddZipEntry(zip, entry);
  ASSERT_EQ(zip_close(zip), 0);
}

void MakeSevenZ(const std::string& path, const std::vector<FakeEntry>& entries) {
  struct archive* w = archive_write_new();
  archive_write_set_format_7zip(w);
  ASSERT_EQ(archive_write_open_filename(w, path.c_str()), ARCHIVE_OK);
  for (const FakeEntry& fake : entries) {
    struct archive_entry* entry = archive_entry_new();
    bool folder = fake.name.back() == '/';
    archive_entry_set_pathname(entry, Trimmed(fake.name).c_str());
    archive_entry_set_filetype(entry, folder                      ? AE_IFDIR
                                      : !fake.link_target.empty() ? AE_IFLNK
                                                                  : AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    if (!fake.link_target.empty()) archive_entry_set_symlink(entry, fake.link_target.c_str());
    archive_entry_set_size(entry, folder ? 0 : static_cast<la_int64_t>(fake.data.size()));
    archive_write_header(w, entry);
    if (!folder && !fake.data.empty()) archive_write_data(w, fake.data.data(), fake.data.size());
    archive_entry_free(entry);
  }
  ASSERT_EQ(archive_write_close(w), ARCHIVE_OK);
  archive_write_free(w);
}

void MakeLzma(const std::string& path, const std::string& data) {
  struct archive* w = archive_write_new();
  archive_write_set_format_raw(w);
  archive_write_add_filter_lzma(w);
  ASSERT_EQ(archive_write_open_filename(w, path.c_str()), ARCHIVE_OK);
  struct archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, "data");
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_size(entry, static_cast<la_int64_t>(data.size()));
  archive_write_header(w, entry);
  archive_write_data(w, data.data(), data.size());
  archive_entry_free(entry);
  ASSERT_EQ(archive_write_close(w), ARCHIVE_OK);
  archive_write_free(w);
}

void PrintTo(const Item& item, std::ostream* out) {
  *out << (item.folder ? "folder" : "file") << " size " << item.size << " crc " << item.crc;
}

std::uint32_t Crc(const std::string& data) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string Text(std::size_t size, unsigned seed) {
  static const char* kWords[] = {"block ", "creeper ", "redstone ", "torch ", "pickaxe ", "\n"};
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size) text += kWords[random() % 6];
  return text.substr(0, size);
}

std::string Noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(random());
  return data;
}

std::string Damage(const std::string& path) {
  std::string bytes = ReadFile(path);
  bytes[bytes.size() / 3] ^= 0x55;
  WriteFile(path, bytes);
  return bytes;
}

Listing ListArchive(const std::string& path) {
  Listing listing;
  struct archive* r = archive_read_new();
  archive_read_support_format_7zip(r);
  archive_read_support_format_zip(r);
  if (archive_read_open_filename(r, path.c_str(), 1 << 16) == ARCHIVE_OK) {
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(r, &entry) == ARCHIVE_OK) {
      Item item;
      item.folder = archive_entry_filetype(entry) == AE_IFDIR;
      item.link = archive_entry_filetype(entry) == AE_IFLNK;
      std::string data(1 << 16, '\0'), all;
      la_ssize_t got;
      while ((got = archive_read_data(r, data.data(), data.size())) > 0) all.append(data, 0, got);
      if (item.link) all = archive_entry_symlink(entry);
      item.size = item.folder ? 0 : static_cast<std::int64_t>(all.size());
      item.crc = item.folder ? 0 : Crc(all);
      listing[Trimmed(archive_entry_pathname(entry))] = item;
    }
  }
  archive_read_free(r);
  return listing;
}

Listing ListTree(const std::string& folder) {
  Listing listing;
  for (const auto& [name, data] : ReadTree(folder))
    listing[Trimmed(name)] =
        name.back() == '/' ? Item{true, 0, 0} : Item{false, std::int64_t(data.size()), Crc(data)};
  return listing;
}

std::map<std::string, int> ZipMethods(const std::string& path) {
  std::map<std::string, int> methods;
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!zip) return methods;
  for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(zip, i, 0, &st);
    methods[st.name] = st.comp_method;
  }
  zip_discard(zip);
  return methods;
}

int RunArchiver(const std::string& command_line, const std::string& folder) {
  return SevenZip(nullptr, command_line, nullptr, 0, folder);
}

int ExtractTo(const std::string& archive, const std::string& out) {
  return RunArchiver("x " + archive + " -aoa -o\"" + out + "\\\"");
}

}  // namespace oxlip::test
