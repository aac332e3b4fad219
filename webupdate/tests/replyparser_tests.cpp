// The reply reader on its own, fed as a socket might cut the bytes: a whole reply reads the
// same in one piece, byte by byte or in odd pieces, and every limit holds however the bytes
// arrive.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "webupdate/replyparser.h"

namespace webupdate {
namespace {

using Step = ReplyParser::Step;

// What a reader made of a reply: its steps (NeedMore left out, a run of Body steps as one),
// body, final status and failure.
struct Reading {
  QList<Step> steps;
  QByteArray body;
  int status = 0;
  qint64 announced = -1;
  FetchFailure failure = FetchFailure::None;
  QString error;
};

// Feeds reply in pieces of the given size, then closes the connection.
Reading Read(const QByteArray& reply, qsizetype piece, bool allowUntilClose = false) {
  ReplyParser parser;
  parser.AllowUntilClose(allowUntilClose);
  Reading reading;
  const auto drain = [&] {
    for (int guard = 0; guard < 1000000; ++guard) {
      const Step step = parser.Next();
      if (step == Step::Body) reading.body += parser.TakeBody();
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
    ADD_FAILURE() << "the reader does not come to rest";
  };
  for (qsizetype at = 0; at < reply.size(); at += piece) {
    parser.Feed(QByteArrayView(reply).sliced(at, std::min(piece, reply.size() - at)));
    drain();
  }
  parser.Close();
  drain();
  reading.failure = parser.Failure();
  reading.error = parser.Error();
  return reading;
}

QByteArray Repeat(const QByteArray& piece, int times) {
  QByteArray out;
  out.reserve(piece.size() * times);
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

const QByteArray Chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

TEST(ReplyParserTest, WholeRepliesReadTheSameHoweverTheyArrive) {
  const QByteArray interim = "HTTP/1.1 100 Continue\r\n\r\n";
  const struct {
    const char* name;
    QByteArray reply;
    QByteArray body;
    int interim = 0;
  } cases[] = {
      {"a length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", "hello"},
      {"line feeds only", "HTTP/1.1 200 OK\nContent-Length: 5\n\nhello", "hello"},
      {"HTTP/1.0 with a length", "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nhi", "hi"},
      {"a length repeated alike", "HTTP/1.1 200\r\nContent-Length: 2, 2\r\n\r\nhi", "hi"},
      {"an empty body", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"chunks with extensions and trailers",
       Chunked + "4;name=\"x\"\r\nWiki\r\n5 ; y\r\npedia\r\nA\r\n0123456789\r\n0005\r\nabcde\r\n"
                 "0\r\nX-Sum: 1\r\nX-Other: 2\r\n\r\n",
       "Wikipedia0123456789abcde"},
      {"chunks ended by line feeds", Chunked + "3\nabc\n0\n\n", "abc"},
      {"five interim answers",
       Repeat(interim, 5) + "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok", 5},
      {"a head at its limits",
       "HTTP/1.1 200 OK\r\n" + Repeat("X-Fill: " + QByteArray(600, 'f') + "\r\n", 98) +
           "Content-Length: 2\r\n\r\nok",
       "ok"},
      {"a line at its limit",
       "HTTP/1.1 200 OK\r\nX-Long: " + QByteArray(8 * 1024 - 8, 'l') +
           "\r\nContent-Length: 2\r\n\r\nok",
       "ok"},
  };
  for (const auto& c : cases) {
    for (const qsizetype piece : {c.reply.size(), qsizetype(1), qsizetype(7)}) {
      SCOPED_TRACE(testing::Message() << c.name << " in pieces of " << piece);
      const Reading reading = Read(c.reply, piece);
      EXPECT_EQ(reading.failure, FetchFailure::None) << reading.error.toStdString();
      EXPECT_EQ(reading.status, 200);
      EXPECT_EQ(reading.body, c.body);
      QList<Step> steps(c.interim, Step::Interim);
      steps << Step::Head;
      if (!c.body.isEmpty()) steps << Step::Body;
      steps << Step::End;
      EXPECT_EQ(reading.steps, steps);
    }
  }
}

TEST(ReplyParserTest, RefusedRepliesFailAlikeHoweverTheyArrive) {
  const auto withChunk = [](const QByteArray& sizeLine) {
    return Chunked + sizeLine + "\r\nhello\r\n0\r\n\r\n";
  };
  const QByteArray lengthHead = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
  const QByteArray notCut = "not cut into parts as HTTP cuts it";
  const struct {
    const char* name;
    QByteArray reply;
    FetchFailure failure;
    const char* says;
  } cases[] = {
      {"neither a length nor chunks", "HTTP/1.1 200 OK\r\n\r\nhalf a file", FetchFailure::Unframed,
       "did not say how long the file is"},
      {"HTTP/1.0 ended by closing", "HTTP/1.0 200 OK\r\nServer: old\r\n\r\nhalf a file",
       FetchFailure::Unframed, "did not say how long"},
      {"six interim answers",
       Repeat("HTTP/1.1 100 Continue\r\n\r\n", 6) + "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
       FetchFailure::Protocol, "more than 5 interim answers"},
      {"101 lines of head",
       "HTTP/1.1 200 OK\r\n" + Repeat("X: y\r\n", 100) + "Content-Length: 0\r\n\r\n",
       FetchFailure::Protocol, "more than 100 lines"},
      {"a line one byte too long",
       "HTTP/1.1 200 OK\r\nX: " + QByteArray(8 * 1024 - 2, 'l') + "\r\n\r\n",
       FetchFailure::Protocol, "line of the server's reply is longer than the 8.0 KiB allowed"},
      {"a head beyond its size",
       "HTTP/1.1 200 OK\r\n" + Repeat("X: " + QByteArray(8000, 'h') + "\r\n", 9) + "\r\n",
       FetchFailure::Protocol, "head of the server's reply is longer than the 64.0 KiB allowed"},
      {"a head without end", "HTTP/1.1 200 OK\r\n" + Repeat("X: y\r\n", 20000),
       FetchFailure::Protocol, "more than 100 lines"},
      {"a folded field", "HTTP/1.1 200 OK\r\nX: y\r\n Content-Length: 0\r\n\r\n",
       FetchFailure::Protocol, "does not read as HTTP"},
      {"another protocol", "ICY 200 OK\r\nContent-Length: 0\r\n\r\n", FetchFailure::Protocol,
       "does not read as HTTP"},
      {"a blank line first", "\r\nHTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
       FetchFailure::Protocol, "does not read as HTTP"},
      {"a chunk size in C", withChunk("0x5"), FetchFailure::Protocol, notCut},
      {"a signed chunk size", withChunk("+5"), FetchFailure::Protocol, notCut},
      {"a chunk size among blanks", withChunk(" 5 "), FetchFailure::Protocol, notCut},
      {"a blank after the chunk size", withChunk("5 "), FetchFailure::Protocol, notCut},
      {"a negative last chunk", Chunked + "-0\r\n\r\n", FetchFailure::Protocol, notCut},
      {"no chunk size", withChunk(""), FetchFailure::Protocol, notCut},
      {"a chunk size of 17 digits", withChunk("00000000000000005"), FetchFailure::Protocol, notCut},
      {"a chunk extension over its cap", withChunk("5;" + QByteArray(257, 'e')),
       FetchFailure::Protocol, notCut},
      {"a 100 KB chunk extension", withChunk("5;" + QByteArray(100 * 1000, 'e')),
       FetchFailure::Protocol, notCut},
      {"a control character in an extension", withChunk("5;a\rb"), FetchFailure::Protocol, notCut},
      {"chunk data longer than its size", Chunked + "5\r\nhello!\r\n0\r\n\r\n",
       FetchFailure::Protocol, notCut},
      {"trailers beyond their cap", Chunked + "0\r\n" + Repeat("X: y\r\n", 2000) + "\r\n",
       FetchFailure::Protocol, "more than 8.0 KiB of fields after the file"},
      {"two lengths", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nhello",
       FetchFailure::Protocol, "\"5, 6\", which is not one number"},
      {"a signed length", "HTTP/1.1 200 OK\r\nContent-Length: +5\r\n\r\nhello",
       FetchFailure::Protocol, "not one number"},
      {"a length and chunks",
       "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nTransfer-Encoding: "
       "chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
       FetchFailure::Protocol, "in two ways at once"},
      {"chunks in HTTP/1.0", "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
       FetchFailure::Protocol, "HTTP/1.0 reply"},
      {"a compressed file", "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n",
       FetchFailure::Protocol, "does not read (gzip, chunked)"},
      {"more than the length", lengthHead + "hello, world", FetchFailure::Overlong,
       "more than the 5 bytes it announced"},
      {"more after the last chunk", withChunk("5") + "more", FetchFailure::Overlong,
       "more after the end of the file"},
      {"cut in the body", lengthHead + "he", FetchFailure::Truncated,
       "ended after 2 of the 5 bytes announced"},
      {"cut between chunks", Chunked + "5\r\nhello\r\n", FetchFailure::Truncated,
       "before its last part, after 5 bytes"},
      {"cut in the trailers", Chunked + "0\r\nX: y\r\n", FetchFailure::Truncated,
       "before its last part"},
      {"cut in the head", "HTTP/1.1 200 OK\r\nContent-Le", FetchFailure::Truncated,
       "closed the connection without an answer"},
  };
  for (const auto& c : cases) {
    for (const qsizetype piece : {c.reply.size(), qsizetype(1), qsizetype(7)}) {
      SCOPED_TRACE(testing::Message() << c.name << " in pieces of " << piece);
      const Reading reading = Read(c.reply, piece);
      EXPECT_EQ(reading.failure, c.failure) << reading.error.toStdString();
      EXPECT_TRUE(reading.error.contains(QLatin1String(c.says))) << reading.error.toStdString();
      ASSERT_FALSE(reading.steps.isEmpty());
      EXPECT_EQ(reading.steps.last(), Step::Failed);
      // Bytes after the end may come in a later read, after the end was seen.
      if (c.failure != FetchFailure::Overlong) {
        EXPECT_FALSE(reading.steps.contains(Step::End));
      }
    }
  }
}

// A megabyte of interim answers, or a head of 20,000 lines in one read, is refused after the
// few heads and lines allowed, without reading on through the rest.
TEST(ReplyParserTest, AFloodIsRefusedWithoutReadingItAll) {
  const QByteArray interim = Repeat("HTTP/1.1 100 Continue\r\n\r\n", 160000);
  const QByteArray lines = "HTTP/1.1 200 OK\r\n" + Repeat("X-Line: 0123456789abcdef\r\n", 20000);
  for (const QByteArray& flood : {interim, lines}) {
    ReplyParser parser;
    QElapsedTimer clock;
    clock.start();
    parser.Feed(flood);
    Step step = parser.Next();
    while (step == Step::Interim) step = parser.Next();
    EXPECT_EQ(step, Step::Failed);
    EXPECT_EQ(parser.Failure(), FetchFailure::Protocol);
    EXPECT_LT(clock.elapsed(), 1000);
  }
}

TEST(ReplyParserTest, ABodyEndedByTheConnectionIsTakenOnlyWhenItsEndIsCheckedElsewhere) {
  const QByteArray reply = "HTTP/1.0 200 OK\r\n\r\nthe whole file";
  EXPECT_EQ(Read(reply, reply.size()).failure, FetchFailure::Unframed);
  const Reading allowed = Read(reply, 3, true);
  EXPECT_EQ(allowed.failure, FetchFailure::None) << allowed.error.toStdString();
  EXPECT_EQ(allowed.body, "the whole file");
  EXPECT_EQ(allowed.steps, (QList<Step>{Step::Head, Step::Body, Step::End}));
  EXPECT_EQ(allowed.announced, -1);

  // Without the close, the end is not yet known.
  ReplyParser open;
  open.AllowUntilClose(true);
  open.Feed(reply);
  EXPECT_EQ(open.Next(), Step::Head);
  EXPECT_EQ(open.Next(), Step::Body);
  EXPECT_EQ(open.Next(), Step::NeedMore);
}

TEST(ReplyParserTest, TheFinalHeadGivesStatusFieldsAndLength) {
  ReplyParser parser;
  parser.Feed(
      "HTTP/1.1 103 Early Hints\r\nLink: </a>\r\n\r\nHTTP/1.1 301 Moved\r\n"
      "Location : /elsewhere\r\nCONTENT-LENGTH: 3\r\n\r\nabc");
  EXPECT_EQ(parser.Next(), Step::Interim);
  EXPECT_EQ(parser.Status(), 103);
  EXPECT_EQ(parser.Next(), Step::Head);
  EXPECT_EQ(parser.Status(), 301);
  EXPECT_EQ(parser.Field("location"), "/elsewhere");
  EXPECT_TRUE(parser.Field("link").isEmpty());
  EXPECT_EQ(parser.AnnouncedLength(), 3);
}

}  // namespace
}  // namespace webupdate
