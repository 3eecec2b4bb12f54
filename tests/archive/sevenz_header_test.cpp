// The 7z header and signature writer, checked byte by byte where the format fixes the bytes and
// otherwise read back by libarchive's reader from archives assembled here by hand.
#include "archive/sevenz_header.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <limits>

#include "archive/lzma2_encoder.h"
#include "archive_fixtures.h"
#include "platform/utf8_names.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

using archive::AppendSevenZNumber;
using archive::SevenZFolder;
using archive::SevenZItem;
using archive::SevenZKind;

std::string Number(std::uint64_t value) {
  std::string out;
  AppendSevenZNumber(&out, value);
  return out;
}

// The format's rule, read independently: the first byte's leading ones count the bytes that
// follow; its remaining bits are the value's highest.
std::uint64_t Decode(const std::string& bytes) {
  auto first = static_cast<std::uint8_t>(bytes[0]);
  int extra = 0;
  while (extra < 8 && (first & (0x80 >> extra))) ++extra;
  std::uint64_t value = 0;
  for (int i = 0; i < extra; ++i)
    value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes[1 + i])) << (8 * i);
  if (extra < 7) value |= static_cast<std::uint64_t>(first & (0x7F >> extra)) << (8 * extra);
  EXPECT_EQ(bytes.size(), static_cast<std::size_t>(1 + extra));
  return value;
}

TEST(SevenZNumber, EncodesEachLengthAtItsBoundaries) {
  EXPECT_EQ(Number(5000000000ull), std::string("\xF1\x00\xF2\x05\x2A", 5));  // a 5 GB file
  EXPECT_EQ(Decode(Number(std::numeric_limits<std::uint64_t>::max())), ~0ull);
  for (int bit = 0; bit < 64; ++bit) {
    for (std::uint64_t value : {(1ull << bit) - 1, 1ull << bit, (1ull << bit) + 1}) {
      SCOPED_TRACE(value);
      EXPECT_EQ(Decode(Number(value)), value);
    }
  }
}

TEST(SevenZNames, Utf8BecomesUtf16WithSurrogatesAndBadBytesAreRefused) {
  std::string out;
  ASSERT_TRUE(archive::AppendUtf16Le(&out, "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"));
  EXPECT_EQ(out, std::string("a\0\xE9\0\xE5\x65\x3D\xD8\x00\xDE", 10));
  for (const char* bad : {"\xC0\x80", "\x80", "\xE6\x97", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xE0\x80\x80", "a\xFF"}) {
    std::string ignored;
    EXPECT_FALSE(archive::AppendUtf16Le(&ignored, bad)) << bad;
  }
}

struct ReadEntry {
  std::string name;
  int type = 0;
  std::int64_t size = 0;
  std::uint32_t crc = 0;
  std::time_t modified = 0;
  long modified_ns = 0;
  int permissions = 0;
  std::string link;
};

std::vector<ReadEntry> ReadWithLibarchive(const std::string& path, std::string* error) {
  platform::Utf8Names utf8;  // names beyond ASCII, whatever the process locale
  std::vector<ReadEntry> entries;
  struct archive* r = archive_read_new();
  archive_read_support_format_7zip(r);
  struct archive_entry* entry = nullptr;
  int result = archive_read_open_filename(r, path.c_str(), 1 << 16);
  while (result == ARCHIVE_OK && (result = archive_read_next_header(r, &entry)) == ARCHIVE_OK) {
    ReadEntry read;
    read.name = archive_entry_pathname_utf8(entry);
    read.type = archive_entry_filetype(entry);
    read.modified = archive_entry_mtime(entry);
    read.modified_ns = archive_entry_mtime_nsec(entry);
    read.permissions = archive_entry_perm(entry);
    if (archive_entry_symlink(entry)) read.link = archive_entry_symlink(entry);
    std::string data(1 << 16, '\0'), all;
    la_ssize_t got;
    while ((got = archive_read_data(r, data.data(), data.size())) > 0) all.append(data, 0, got);
    if (got < 0) result = ARCHIVE_FATAL;
    read.size = static_cast<std::int64_t>(all.size());
    read.crc = Crc(all);
    entries.push_back(read);
  }
  if (result != ARCHIVE_EOF) *error = archive_error_string(r) ? archive_error_string(r) : "?";
  archive_read_free(r);
  return entries;
}

// Packs each folder's files with the given packing, then adds the header and the front.
std::string Assemble(const std::vector<std::vector<std::string>>& folder_files,
                     archive::Packing packing, const std::vector<SevenZItem>& items) {
  std::string streams;
  std::vector<SevenZFolder> folders;
  for (const auto& files : folder_files) {
    SevenZFolder folder;
    std::size_t before = streams.size();
    std::string why;
    auto encoder = archive::Lzma2Encoder::Make(
        {packing, true, 1 << 16},
        [&](const char* data, std::size_t size) {
          streams.append(data, size);
          return true;
        },
        &why);
    for (const std::string& file : files) {
      EXPECT_TRUE(encoder->Write(file.data(), file.size(), &why));
      folder.sizes.push_back(file.size());
      folder.crcs.push_back(Crc(file));
    }
    EXPECT_TRUE(encoder->Finish(&why));
    folder.lzma2_props = encoder->Props();
    folder.packed_size = streams.size() - before;
    folders.push_back(folder);
  }
  std::string header, error;
  EXPECT_TRUE(archive::EncodeSevenZHeader(folders, items, &header, &error)) << error;
  return archive::SevenZSignatureHeader(streams.size(), header) + streams + header;
}

SevenZItem File(const std::string& name, bool has_stream, std::int64_t seconds = 1600000000) {
  return {name, has_stream, false, archive::SevenZAttributes(SevenZKind::kFile, 0640),
          archive::FileTimeFromUnix(seconds, 250000000)};
}

SevenZItem Folder(const std::string& name) {
  return {name, false, true, archive::SevenZAttributes(SevenZKind::kFolder, 0750),
          archive::FileTimeFromUnix(1200000000, 0)};
}

class SevenZHeaderRoundTrip : public InTempFolder {};

// A link's target is its stream; the 7-Zip program checks what libarchive cannot.
TEST_F(SevenZHeaderRoundTrip, FoldersOfSeveralFilesLinksEmptyEntriesAndNamesBeyondAscii) {
  std::string text(100000, 'x');
  for (std::size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
  SevenZItem link = {"日本語/link", true, false, archive::SevenZAttributes(SevenZKind::kLink, 0),
                     archive::FileTimeFromUnix(1, 0)};
  std::vector<SevenZItem> items = {Folder("dir"),
                                   File("dir/empty", false),
                                   File("dir/Ünïcödé файл.txt", true, 0),
                                   File("dir/big.txt", true),
                                   link,
                                   Folder("日本語"),
                                   File("last", true, 4102444800)};
  WriteFile("a.7z", Assemble({{"first", text, "target/file"}, {"alone"}}, archive::Packing::kStrong,
                             items));
  std::string error;
  std::vector<ReadEntry> read = ReadWithLibarchive("a.7z", &error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(read.size(), items.size());
  EXPECT_EQ(read[0].name, "dir/");
  EXPECT_EQ(read[0].type, AE_IFDIR);
  EXPECT_EQ(read[0].permissions, 0750);
  EXPECT_EQ(read[0].modified, 1200000000);
  EXPECT_EQ(read[1].type, AE_IFREG);
  EXPECT_EQ(read[1].size, 0);
  EXPECT_EQ(read[2].name, "dir/Ünïcödé файл.txt");
  EXPECT_EQ(read[2].crc, Crc("first"));
  EXPECT_EQ(read[2].modified, 0);
  EXPECT_EQ(read[3].crc, Crc(text));
  EXPECT_EQ(read[3].modified, 1600000000);
  EXPECT_EQ(read[3].modified_ns, 250000000);
  EXPECT_EQ(read[3].permissions, 0640);
  EXPECT_EQ(read[4].type, AE_IFLNK);
  EXPECT_EQ(read[4].link, "target/file");
  EXPECT_EQ(read[5].type, AE_IFDIR);
  EXPECT_EQ(read[6].crc, Crc("alone"));
  EXPECT_EQ(read[6].modified, 4102444800);

  WriteFile("empty-only.7z",
            Assemble({}, archive::Packing::kStrong, {Folder("d"), File("d/e", false)}));
  WriteFile("nothing.7z", Assemble({}, archive::Packing::kStrong, {}));
  EXPECT_EQ(ReadWithLibarchive("empty-only.7z", &error).size(), 2u);
  EXPECT_EQ(ReadFile("nothing.7z").size(), archive::kSevenZSignatureHeaderSize);
  if (!HaveSevenZipProgram()) GTEST_SKIP() << "7zz is not installed";
  for (const char* name : {"a.7z", "empty-only.7z", "nothing.7z"})
    EXPECT_EQ(RunSevenZipProgram(dir(), std::string("t ") + name), 0) << name;
}

TEST(SevenZHeader, StreamsAndEntriesMustAgree) {
  SevenZFolder folder;
  folder.sizes = {1, 2};
  folder.crcs = {0, 0};
  std::string header, error;
  EXPECT_FALSE(archive::EncodeSevenZHeader({folder}, {File("a", true)}, &header, &error));
  EXPECT_FALSE(archive::EncodeSevenZHeader({folder}, {File("a", true), File("\xFF", true)}, &header,
                                           &error));
  EXPECT_NE(error.find("UTF-8"), std::string::npos);
}

}  // namespace
}  // namespace oxlip::test
