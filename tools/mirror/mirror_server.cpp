#include "mirror_server.h"

#include "listing.h"
#include "response_body.h"

namespace oxlip::mirror {
namespace {

void SendError(httplib::Response& res, int status, const char* code, const std::string& message) {
  res.status = status;
  res.set_content("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Error><Code>" + std::string(code) +
                      "</Code><Message>" + XmlEscape(message) + "</Message></Error>\n",
                  "application/xml");
}

}  // namespace

void MirrorServer::Handle(const httplib::Request& req, httplib::Response& res) {
  log_.Write(req.method, req.target);
  if (req.method != "GET" && req.method != "HEAD") {
    SendError(res, 405, "MethodNotAllowed", "only GET and HEAD are served");
    return;
  }
  std::optional<RequestTarget> target = ParseRequestTarget(req.target);
  if (!target || !target->path.starts_with('/')) {
    SendError(res, 400, "InvalidURI", "malformed request target: " + req.target);
    return;
  }
  if (target->path.starts_with("/_mirror/")) {
    Control(*target, res);
    return;
  }
  std::optional<FaultKind> fault = faults_.Take(target->path);
  if (fault == FaultKind::kServerError) {
    SendError(res, 500, "InternalError", "injected fault");
  } else if (fault == FaultKind::kNotFound) {
    SendError(res, 404, "NoSuchKey", "injected fault");
  } else {
    Serve(*target, fault, res);
  }
}

void MirrorServer::Control(const RequestTarget& target, httplib::Response& res) {
  if (target.path == "/_mirror/clear") {
    faults_.Clear();
  } else if (target.path == "/_mirror/fault") {
    const std::string* text = target.Param("rule");
    std::string error = "missing query value 'rule'";
    std::optional<FaultRule> rule = text ? ParseFaultRule(*text, error) : std::nullopt;
    if (!rule) return SendError(res, 400, "InvalidArgument", error);
    faults_.Add(std::move(*rule));
  } else {
    return SendError(res, 404, "NoSuchKey", "control: /_mirror/fault?rule=RULE, /_mirror/clear");
  }
  res.set_content("ok", "text/plain");
}

void MirrorServer::Serve(const RequestTarget& target, std::optional<FaultKind> fault,
                         httplib::Response& res) {
  if (const std::string* user = target.Param("user")) {
    const std::string* password = target.Param("password");
    return SendText(res, users_.LoginAnswer(*user, password ? *password : ""), "text/plain", fault);
  }
  std::string_view rest = std::string_view(target.path).substr(1);
  size_t slash = rest.find('/');
  std::string bucket(rest.substr(0, slash));
  std::string key(slash == std::string_view::npos ? "" : rest.substr(slash + 1));
  if (!tree_.HasBucket(bucket))
    return SendError(res, 404, "NoSuchBucket", "no bucket '" + bucket + "'; ask for /<bucket>/");
  if (key.empty()) {
    std::string error;
    std::optional<ListingQuery> query = ReadListingQuery(target, error);
    if (!query) return SendError(res, 400, "InvalidArgument", error);
    return SendText(res, ListingXml(bucket, *query, tree_.Objects(bucket), digests_),
                    "application/xml", fault);
  }
  std::optional<ObjectEntry> entry = tree_.Find(bucket, key);
  if (!entry) return SendError(res, 404, "NoSuchKey", "no key '" + key + "' in " + bucket);
  if (entry->folder) return SendText(res, "", "application/octet-stream", fault);
  SendFile(res, entry->file, entry->size, fault);
}

}  // namespace oxlip::mirror
