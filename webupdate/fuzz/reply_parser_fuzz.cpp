// libFuzzer target for the reader of the update server's replies.
//
// The first byte of an input picks how the rest is cut into reads (one read, or pieces of 1 to
// 127 bytes) and whether a body ended by the connection is allowed; the rest is the reply. It
// is read twice, in one piece and in pieces, and both readings must agree step for step: the
// limits hold however the bytes arrive. Each reading must keep its own promises: every step
// makes progress, a body never outgrows its announced length or the input, a reply that ends
// whole by its length brought exactly that length, and a failure says why.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "webupdate/replyparser.h"

namespace {

using webupdate::FetchFailure;
using webupdate::ReplyParser;
using Step = ReplyParser::Step;

[[noreturn]] void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "reply_parser_fuzz: %s: %s\n", what, detail.c_str());
  std::abort();
}

struct Reading {
  QList<Step> steps;  // NeedMore left out, a run of Body steps as one
  QByteArray body;
  int status = 0;
  qint64 announced = -1;
  FetchFailure failure = FetchFailure::None;
  QString error;
};

Reading Read(const QByteArray& reply, qsizetype piece, bool allowUntilClose) {
  ReplyParser parser;
  parser.AllowUntilClose(allowUntilClose);
  Reading reading;
  const auto drain = [&] {
    // Each step but NeedMore uses bytes or moves on; none can repeat without end.
    for (qsizetype guard = 0; guard < 4 * reply.size() + 64; ++guard) {
      const Step step = parser.Next();
      if (step == Step::Body) {
        const QByteArray bytes = parser.TakeBody();
        if (bytes.isEmpty()) Fail("a body step without bytes");
        reading.body += bytes;
        if (reading.body.size() > reply.size()) Fail("a body larger than the reply");
      }
      if (step == Step::Head) {
        reading.status = parser.Status();
        reading.announced = parser.AnnouncedLength();
      }
      if (step != Step::NeedMore &&
          (reading.steps.isEmpty() || reading.steps.last() != step || step == Step::Interim)) {
        reading.steps.append(step);
      }
      if (step == Step::NeedMore || step == Step::End || step == Step::Failed) return;
    }
    Fail("the reader does not come to rest");
  };
  for (qsizetype at = 0; at < reply.size(); at += piece) {
    parser.Feed(QByteArrayView(reply).sliced(at, std::min(piece, reply.size() - at)));
    drain();
  }
  parser.Close();
  drain();
  reading.failure = parser.Failure();
  reading.error = parser.Error();

  if (reading.steps.isEmpty()) Fail("a closed reply that neither ended nor failed");
  const Step last = reading.steps.last();
  if (last != Step::End && last != Step::Failed)
    Fail("a closed reply that neither ended nor failed");
  if ((last == Step::Failed) != (reading.failure != FetchFailure::None) ||
      (last == Step::Failed) == reading.error.isEmpty()) {
    Fail("a failure without its reason", reading.error.toStdString());
  }
  if (reading.steps.count(Step::Head) > 1) Fail("two final heads");
  if (reading.steps.count(Step::Interim) > webupdate::ReplyLimits{}.maxInterimReplies) {
    Fail("more interim answers than allowed");
  }
  if (parser.BodyBytes() != reading.body.size()) Fail("body bytes miscounted");
  if (reading.announced >= 0 && reading.body.size() > reading.announced) {
    Fail("a body longer than announced");
  }
  if (last == Step::End && parser.BodyFraming() == ReplyParser::Framing::Length &&
      reading.body.size() != reading.announced) {
    Fail("a whole reply without its announced length");
  }
  // Bytes after the end may arrive in a later read, after the end was seen.
  if (reading.failure == FetchFailure::Overlong) reading.steps.removeAll(Step::End);
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool allowUntilClose = data[0] & 0x80;
  const qsizetype piece = data[0] & 0x7f;
  const QByteArray reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

  const Reading whole = Read(reply, std::max<qsizetype>(reply.size(), 1), allowUntilClose);
  const Reading pieces = Read(reply, piece == 0 ? 1 : piece, allowUntilClose);
  if (whole.steps != pieces.steps) Fail("the steps depend on how the bytes arrive");
  if (whole.body != pieces.body) Fail("the body depends on how the bytes arrive");
  if (whole.status != pieces.status || whole.announced != pieces.announced) {
    Fail("the head depends on how the bytes arrive");
  }
  if (whole.failure != pieces.failure || whole.error != pieces.error) {
    Fail("the failure depends on how the bytes arrive",
         whole.error.toStdString() + " / " + pieces.error.toStdString());
  }
  return 0;
}
