#pragma once
// The reading of one HTTP/1.x reply, fed with its bytes as they arrive and kept apart from the
// socket, so that it is tested and fuzzed on its own: interim (1xx) heads passed over, a few at
// most; the final head's status and fields; a body framed by its Content-Length or by chunked
// coding, its trailers read and dropped. Every part has a limit of its own, checked however
// the bytes are cut into reads: a head's size, its line length and line count, a chunk's size
// line and extension, the trailers. Each byte is looked at a bounded number of times, so a
// flood of small pieces costs no more than one read.
//
// A body with neither a length nor chunks ends where the connection does, so a reply cut off
// reads as a whole one; it is refused unless the caller checks its end by other means (a
// checksum it knows) and allows it.
//
// Use: Feed() the bytes, then call Next() until it asks for more (NeedMore), or the reply ends
// (End) or fails (Failed). After Head the caller looks at the status and fields; the body
// follows on the next Next(). Close() tells that the connection ended.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <utility>

#include "webupdate/fetchfailure.h"

namespace webupdate {

struct ReplyLimits {
  qsizetype maxHeadBytes = 64 * 1024;  // one head, its status line to its blank line
  qsizetype maxLineBytes = 8 * 1024;   // one line of a head or of the trailers, without its end
  int maxHeadLines = 100;              // lines of one head, the status line included
  int maxInterimReplies = 5;           // 1xx heads before the final one
  qsizetype maxChunkExtensionBytes = 256;
  qsizetype maxTrailerBytes = 8 * 1024;  // every trailer line together
};

class ReplyParser {
public:
  enum class Step {
    NeedMore,  // every byte fed so far is used; feed more (or Close())
    Interim,   // an interim head was read and passed over; Status() is its code
    Head,      // the final head was read: Status(), Fields(), AnnouncedLength()
    Body,      // body bytes are ready: TakeBody()
    End,       // the body is complete (returned again on every later call)
    Failed,    // malformed, beyond a limit, cut off or overlong: Failure(), Error()
  };
  enum class Framing { None, Length, Chunked, UntilClose };

  explicit ReplyParser(ReplyLimits limits = {});

  // A body that ends with the connection is taken (its end is checked by the caller).
  void AllowUntilClose(bool allowed) { m_allowUntilClose = allowed; }

  void Feed(QByteArrayView bytes);
  // The connection ended: what is still missing makes the reply cut off.
  void Close();
  Step Next();

  int Status() const noexcept { return m_status; }
  // The final head's fields, names in lower case, values trimmed, in the order sent.
  const QList<std::pair<QByteArray, QByteArray>>& Fields() const noexcept { return m_fields; }
  // The first value of the named field (lower case), empty when missing.
  QByteArray Field(QByteArrayView name) const;
  Framing BodyFraming() const noexcept { return m_framing; }
  // The Content-Length of the final head; -1 when none (or when chunked).
  qint64 AnnouncedLength() const noexcept { return m_announced; }
  // The body bytes of the last Body step.
  QByteArray TakeBody() { return std::exchange(m_body, {}); }
  qint64 BodyBytes() const noexcept { return m_bodyBytes; }
  FetchFailure Failure() const noexcept { return m_failure; }
  const QString& Error() const noexcept { return m_error; }

private:
  enum class Stage {
    Head,
    HeadRead,
    LengthBody,
    CloseBody,
    ChunkSize,
    ChunkData,
    ChunkDataEnd,
    Trailer,
    End,
    Failed
  };
  enum class LineResult { Line, More, TooLong };

  Step ReadHead();
  Step TakeHead();
  Step BeginBody();
  // Hands on what has come of the m_left body bytes still due.
  Step ReadBodyBytes();
  Step ReadLengthBody();
  Step ReadCloseBody();
  Step ReadChunks();
  Step ReadChunkSize();
  Step ReadChunkData();
  Step ReadChunkDataEnd();
  Step ReadTrailer();
  // The bytes of the next line (its CRLF or LF taken off) within maxBytes, its end included.
  LineResult TakeLine(qsizetype maxBytes, QByteArray* line, qsizetype* used);
  Step Reached();
  Step CutOff();
  Step Fail(FetchFailure failure, const QString& error);
  Step Malformed();
  Step FailChunks();
  void FrameBody();

  ReplyLimits m_limits;
  QByteArray m_buffer;
  qsizetype m_pos = 0;   // the first byte not yet used
  qsizetype m_scan = 0;  // where the search for the current line's end goes on
  Stage m_stage = Stage::Head;
  bool m_closed = false;
  bool m_allowUntilClose = false;

  QList<QByteArray> m_lines;  // of the head being read
  qsizetype m_headBytes = 0;
  int m_interim = 0;
  int m_status = 0;
  bool m_http10 = false;
  QList<std::pair<QByteArray, QByteArray>> m_fields;

  Framing m_framing = Framing::None;
  QString m_framingError;
  qint64 m_announced = -1;
  qint64 m_left = 0;  // of the announced length, or of the current chunk
  qint64 m_bodyBytes = 0;
  QByteArray m_body;
  qsizetype m_trailerBytes = 0;

  FetchFailure m_failure = FetchFailure::None;
  QString m_error;
};

}  // namespace webupdate
