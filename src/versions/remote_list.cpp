#include "versions/remote_list.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <optional>
#include <thread>

#include "base/error_text.h"
#include "platform/ascii_case.h"
#include "platform/conventions.h"
#include "platform/fs.h"
#include "platform/http.h"
#include "platform/md5.h"
#include "prefs/pref_document.h"
#include "versions/xml_text.h"

namespace oxlip {
namespace {

// Some old bucket listings ran past one page; this many pages is far beyond any of them.
constexpr int kMaxListingPages = 1000;

std::string_view ElementText(std::string_view text, std::string_view tag) {
  std::string open = "<" + std::string(tag) + ">";
  std::string close = "</" + std::string(tag) + ">";
  size_t start = text.find(open);
  if (start == std::string_view::npos) return {};
  start += open.size();
  size_t end = text.find(close, start);
  if (end == std::string_view::npos) return {};
  return text.substr(start, end - start);
}

// The digest between the quotes S3 puts around it; a quote inside is part of the text.
std::string WithoutQuotes(std::string_view text) {
  std::string out = versions::DecodeXmlText(text);
  if (!out.empty() && out.back() == '"') out.pop_back();
  if (!out.empty() && out.front() == '"') out.erase(0, 1);
  return out;
}

bool NeedsFetch(const std::string& cached) {
  if (platform::FileSize(cached) <= 0) return true;
  return platform::FileDate(cached) < platform::NowDateValue() - 3600;
}

// Every byte outside letters, digits and `kept` as "%XX".
std::string EncodeBytes(std::string_view text, std::string_view kept) {
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) || kept.find(c) != std::string_view::npos) {
      out += c;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", b);
      out += hex;
    }
  }
  return out;
}

// The page after `body` when it says it was cut short, else "".
std::string NextPageUrl(const std::string& url, const std::string& body) {
  size_t last = body.rfind("<Key>");
  if (body.find("<IsTruncated>true</IsTruncated>") == std::string::npos ||
      last == std::string::npos)
    return "";
  std::string key =
      versions::DecodeXmlText(ElementText(std::string_view(body).substr(last), "Key"));
  return url + (url.find('?') == std::string::npos ? "?" : "&") +
         "marker=" + EncodeBytes(key, "-_.~");
}

// Fetches every page of the listing into `cached`; false on the first failed page.
bool FetchListing(const std::string& url, const std::string& cached, platform::Error* error) {
  std::string temp = cached + ".page";
  std::string whole;
  std::string page_url = url;
  for (int page = 0; page < kMaxListingPages && !page_url.empty(); ++page) {
    if (!platform::DownloadToFile(page_url, temp, error)) return false;
    std::string body = platform::ReadWholeFile(temp).value_or("");
    platform::DeleteFile(temp);
    std::string next = NextPageUrl(url, body);
    whole += body;
    if (!whole.empty() && whole.back() != '\n') whole += '\n';
    page_url = next == page_url ? "" : next;
  }
  return platform::ReplaceFileContents(cached, whole, error, platform::Flush::kNo);
}

std::string CachedListing(const base::GlobalSettings& settings, const std::string& subfolder) {
  return settings.CacheDir + subfolder.substr(0, subfolder.empty() ? 0 : subfolder.size() - 1) +
         "-index.xml";
}

}  // namespace

// Only the unreserved characters and the separator stand for themselves: "?" and "#" would end
// the path, and S3 reads some others ("+") its own way.
std::string versions::PercentEncode(std::string_view key) { return EncodeBytes(key, "-_.~/"); }

void versions::ParseListingLine(std::string_view line, const std::string& listing_url,
                                std::vector<RemoteFile>& out) {
  for (size_t from = 0; (from = line.find("<Contents>", from)) != std::string_view::npos; ++from) {
    std::string_view element = ElementText(line.substr(from), "Contents");
    std::string key = versions::DecodeXmlText(ElementText(element, "Key"));
    if (!key.empty() && key.back() == '/') continue;
    RemoteFile file;
    file.Date = platform::DateFromIsoText(std::string(ElementText(element, "LastModified")));
    file.ETag = WithoutQuotes(ElementText(element, "ETag"));
    file.Size = prefs::ParsePrefNumber(ElementText(element, "Size"));
    file.Path = key;
    for (char& c : file.Path)
      if (c == '/') c = '\\';
    file.URL = listing_url + versions::PercentEncode(key);
    out.push_back(std::move(file));
  }
}

void versions::ParseListing(std::string_view text, const std::string& listing_url,
                            std::vector<RemoteFile>& out) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    versions::ParseListingLine(text.substr(pos, end - pos), listing_url, out);
    pos = end + 1;
  }
}

void versions::PrefetchListings(const base::GlobalSettings& settings,
                                const std::vector<versions::ListingRequest>& requests) {
  std::vector<std::thread> fetches;
  for (const versions::ListingRequest& request : requests) {
    std::string cached = CachedListing(settings, request.subfolder);
    if (NeedsFetch(cached))
      fetches.emplace_back([url = request.url, cached] { FetchListing(url, cached, nullptr); });
  }
  for (std::thread& fetch : fetches) fetch.join();
}

int GetMCFileList(const base::GlobalSettings& settings, versions::RemoteFileList& list,
                  const std::string& url, const std::string& subfolder) {
  list.download_prefix = settings.CacheDir + subfolder;
  list.files.clear();
  list.current = -1;
  std::string cached = CachedListing(settings, subfolder);
  platform::Error error;
  if (NeedsFetch(cached) && !FetchListing(url, cached, &error)) {
    SetErrorText(base::WithReason("GetMCFileList: Can't download " + url, error.reason));
    return 0;
  }
  std::optional<std::string> text = platform::ReadWholeFile(cached, &error);
  if (!text) {
    SetErrorText(base::WithReason("GetMCFileList:Can't open " + cached, error.reason));
    return 0;
  }
  versions::ParseListing(*text, url, list.files);
  return static_cast<int>(list.files.size());
}

int FindRemoteFile(versions::RemoteFileList& list, const std::string& name) {
  for (size_t i = 0; i < list.files.size(); ++i)
    if (platform::EqualsNoCase(list.files[i].Path, name)) {
      list.current = static_cast<int>(i);
      return 1;
    }
  return 0;
}

bool versions::MatchesRemote(const std::string& path, const RemoteFile& entry) {
  if (platform::FileSize(path) != entry.Size) return false;
  std::string md5 = platform::FileMd5(path);
  return !md5.empty() && md5 == entry.ETag;
}

bool versions::WriteMd5sFile(const std::string& bin, platform::Error* error) {
  std::string text = "#md5 hashes for downloaded files\r\n#\r\n";
  for (std::string_view name :
       {std::string_view("lwjgl.jar"), std::string_view("jinput.jar"),
        platform::kNativeConventions.natives_archive, std::string_view("lwjgl_util.jar"),
        std::string_view("minecraft.jar")})
    text += std::string(name) + "=" + platform::FileMd5(bin + std::string(name)) + "\r\n";
  return platform::ReplaceFileContents(bin + "md5s", text, error, platform::Flush::kNo);
}

}  // namespace oxlip
