#pragma once
// What the mirror answers: bucket listings, objects, logins and its control requests.
#include <httplib.h>

#include <string>

#include "bucket_tree.h"
#include "faults.h"
#include "file_digests.h"
#include "request_log.h"
#include "request_target.h"
#include "users.h"

namespace oxlip::mirror {

class MirrorServer {
 public:
  MirrorServer(BucketTree tree, Users users, RequestLog& log, FaultTable& faults)
      : tree_(std::move(tree)), users_(std::move(users)), log_(log), faults_(faults) {}

  // Every request of every method ends here.
  void Handle(const httplib::Request& req, httplib::Response& res);

 private:
  void Control(const RequestTarget& target, httplib::Response& res);
  void Serve(const RequestTarget& target, std::optional<FaultKind> fault, httplib::Response& res);

  BucketTree tree_;
  Users users_;
  RequestLog& log_;
  FaultTable& faults_;
  FileDigests digests_;
};

}  // namespace oxlip::mirror
