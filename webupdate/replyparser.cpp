#include "webupdate/replyparser.h"

#include <algorithm>
#include <cstring>

#include "webupdate/messagetext.h"

namespace webupdate {

namespace {

// A chunk's size line: up to 16 hex digits, blanks, ";" and the extension.
constexpr qsizetype ChunkSizeLineSlack = 32;
// Chunks beyond this (a pebibyte) are no file of an update server, and the sum stays far from
// overflowing.
constexpr qint64 MaxChunkSize = qint64(1) << 50;

bool IsDigits(QByteArrayView text) {
  return !text.isEmpty() && text.size() <= 18 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Control characters other than a tab end no line of a chunk extension or a field.
bool HasControl(QByteArrayView text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
  });
}

// "HTTP/1.0 200 OK" or "HTTP/1.1 404": the code, and whether it is HTTP/1.0; -1 when not.
int StatusCode(const QByteArray& line, bool* http10) {
  if (line.size() < 12 || !line.startsWith("HTTP/1.") || (line[7] != '0' && line[7] != '1') ||
      line[8] != ' ' || (line.size() > 12 && line[12] != ' ') || !IsDigits(line.mid(9, 3))) {
    return -1;
  }
  *http10 = line[7] == '0';
  return line.mid(9, 3).toInt();
}

}  // namespace

ReplyParser::ReplyParser(ReplyLimits limits) : m_limits(limits) {}

void ReplyParser::Feed(QByteArrayView bytes) {
  if (bytes.isEmpty() || m_stage == Stage::Failed) return;
  // What was used goes first, so the buffer holds only the line or part being read.
  if (m_pos > 0) {
    m_buffer.remove(0, m_pos);
    m_scan -= m_pos;
    m_pos = 0;
  }
  m_buffer.append(bytes);
}

void ReplyParser::Close() {
  m_closed = true;
}

QByteArray ReplyParser::Field(QByteArrayView name) const {
  for (const auto& [fieldName, value] : m_fields) {
    if (fieldName.compare(name) == 0) return value;
  }
  return {};
}

ReplyParser::Step ReplyParser::Next() {
  switch (m_stage) {
    case Stage::Head:
      return ReadHead();
    case Stage::HeadRead:
      return BeginBody();
    case Stage::LengthBody:
      return ReadLengthBody();
    case Stage::CloseBody:
      return ReadCloseBody();
    case Stage::ChunkSize:
    case Stage::ChunkData:
    case Stage::ChunkDataEnd:
    case Stage::Trailer:
      return ReadChunks();
    case Stage::End:
      return Reached();
    case Stage::Failed:
      break;
  }
  return Step::Failed;
}

ReplyParser::LineResult ReplyParser::TakeLine(qsizetype maxBytes, QByteArray* line,
                                              qsizetype* used) {
  const qsizetype end = std::min(m_buffer.size(), m_pos + std::max<qsizetype>(maxBytes, 0));
  const char* data = m_buffer.constData();
  const void* found =
      m_scan < end ? std::memchr(data + m_scan, '\n', std::size_t(end - m_scan)) : nullptr;
  if (!found) {
    m_scan = std::max(m_scan, end);
    return end - m_pos >= maxBytes ? LineResult::TooLong : LineResult::More;
  }
  const qsizetype newline = static_cast<const char*>(found) - data;
  *line = m_buffer.mid(m_pos, newline - m_pos);
  if (line->endsWith('\r')) line->chop(1);
  *used = newline + 1 - m_pos;
  m_pos = m_scan = newline + 1;
  return LineResult::Line;
}

ReplyParser::Step ReplyParser::ReadHead() {
  for (;;) {
    const qsizetype headLeft = m_limits.maxHeadBytes - m_headBytes;
    const qsizetype lineMax = m_limits.maxLineBytes + 2;  // with its CRLF
    QByteArray line;
    qsizetype used = 0;
    const LineResult result = TakeLine(std::min(lineMax, headLeft), &line, &used);
    if (result == LineResult::More) return m_closed ? CutOff() : Step::NeedMore;
    if (result == LineResult::TooLong && headLeft <= lineMax) {
      return Fail(FetchFailure::Protocol,
                  QStringLiteral("The head of the server's reply is longer than the %1 allowed.")
                      .arg(SizeText(m_limits.maxHeadBytes)));
    }
    if (result == LineResult::TooLong || line.size() > m_limits.maxLineBytes) {
      return Fail(FetchFailure::Protocol,
                  QStringLiteral("A line of the server's reply is longer than the %1 allowed.")
                      .arg(SizeText(m_limits.maxLineBytes)));
    }
    m_headBytes += used;
    if (line.isEmpty()) return TakeHead();
    if (m_lines.size() >= m_limits.maxHeadLines) {
      return Fail(FetchFailure::Protocol,
                  QStringLiteral("The head of the server's reply has more than %1 lines.")
                      .arg(m_limits.maxHeadLines));
    }
    m_lines.append(line);
  }
}

ReplyParser::Step ReplyParser::TakeHead() {
  const QList<QByteArray> lines = std::exchange(m_lines, {});
  m_headBytes = 0;
  bool http10 = false;
  const int status = lines.isEmpty() ? -1 : StatusCode(lines.first(), &http10);
  if (status < 0) return Malformed();
  QList<std::pair<QByteArray, QByteArray>> fields;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    // A field folded onto a further line could hide a length from this reader.
    if (IsBlank(line.front())) return Malformed();
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) continue;
    fields.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
  }
  m_status = status;
  if (status >= 100 && status < 200 && status != 101) {
    if (++m_interim > m_limits.maxInterimReplies) {
      return Fail(FetchFailure::Protocol,
                  QStringLiteral("The server sent more than %1 interim answers before its reply.")
                      .arg(m_limits.maxInterimReplies));
    }
    return Step::Interim;
  }
  m_http10 = http10;
  m_fields = std::move(fields);
  FrameBody();
  m_stage = Stage::HeadRead;
  return Step::Head;
}

void ReplyParser::FrameBody() {
  m_framing = Framing::None;
  m_framingError.clear();
  m_announced = -1;
  // These carry no body, whatever their fields say.
  if (m_status < 200 || m_status == 204 || m_status == 304) {
    m_framing = Framing::Length;
    m_announced = 0;
    return;
  }
  QList<QByteArray> lengths;
  QList<QByteArray> codings;
  for (const auto& [name, value] : m_fields) {
    if (name == "content-length") {
      for (const QByteArray& part : value.split(',')) lengths.append(part.trimmed());
    }
    if (name == "transfer-encoding") {
      for (const QByteArray& part : value.split(',')) codings.append(part.trimmed().toLower());
    }
  }
  codings.removeAll(QByteArray("identity"));
  if (!codings.isEmpty()) {
    if (m_http10) {
      m_framingError = QStringLiteral(
          "The server announced parts in an HTTP/1.0 reply, which "
          "HTTP does not allow.");
    } else if (codings != QList<QByteArray>{"chunked"}) {
      m_framingError =
          QStringLiteral("The server sent the file in a form this updater does not read (%1).")
              .arg(ServerText(codings.join(", ")));
    } else if (!lengths.isEmpty()) {
      m_framingError =
          QStringLiteral("The server announced the file's length in two ways at once.");
    } else {
      m_framing = Framing::Chunked;
    }
    return;
  }
  if (lengths.isEmpty()) {
    m_framing = Framing::UntilClose;
    return;
  }
  for (const QByteArray& length : lengths) {
    if (!IsDigits(length) || length != lengths.first()) {
      m_framingError = QStringLiteral(
                           "The server announced the file's length as \"%1\", which is not one "
                           "number.")
                           .arg(ServerText(lengths.join(", ")));
      return;
    }
  }
  m_framing = Framing::Length;
  m_announced = lengths.first().toLongLong();
}

ReplyParser::Step ReplyParser::BeginBody() {
  if (!m_framingError.isEmpty()) return Fail(FetchFailure::Protocol, m_framingError);
  switch (m_framing) {
    case Framing::Length:
      m_left = m_announced;
      m_stage = Stage::LengthBody;
      return ReadLengthBody();
    case Framing::Chunked:
      m_stage = Stage::ChunkSize;
      return ReadChunks();
    case Framing::UntilClose:
      if (!m_allowUntilClose) {
        return Fail(FetchFailure::Unframed,
                    QStringLiteral("The server did not say how long the file is, so a transfer "
                                   "cut off could not be told from a whole one."));
      }
      m_stage = Stage::CloseBody;
      return ReadCloseBody();
    case Framing::None:
      break;
  }
  return Malformed();
}

ReplyParser::Step ReplyParser::ReadBodyBytes() {
  const qsizetype available = m_buffer.size() - m_pos;
  if (available == 0) return m_closed ? CutOff() : Step::NeedMore;
  const qsizetype taken = qsizetype(std::min<qint64>(available, m_left));
  m_body = m_buffer.mid(m_pos, taken);
  m_pos += taken;
  m_scan = m_pos;
  m_left -= taken;
  m_bodyBytes += taken;
  return Step::Body;
}

ReplyParser::Step ReplyParser::ReadLengthBody() {
  if (m_left == 0) return Reached();
  return ReadBodyBytes();
}

ReplyParser::Step ReplyParser::ReadCloseBody() {
  const qsizetype available = m_buffer.size() - m_pos;
  if (available == 0) {
    if (!m_closed) return Step::NeedMore;
    m_stage = Stage::End;
    return Step::End;
  }
  m_body = m_buffer.mid(m_pos);
  m_pos = m_scan = m_buffer.size();
  m_bodyBytes += available;
  return Step::Body;
}

// Each chunk step goes on to the next until one yields a step or needs more bytes.
ReplyParser::Step ReplyParser::ReadChunks() {
  for (;;) {
    const Stage before = m_stage;
    Step step = Step::NeedMore;
    if (m_stage == Stage::ChunkSize) {
      step = ReadChunkSize();
    } else if (m_stage == Stage::ChunkData) {
      step = ReadChunkData();
    } else if (m_stage == Stage::ChunkDataEnd) {
      step = ReadChunkDataEnd();
    } else {
      step = ReadTrailer();
    }
    if (step != Step::NeedMore || m_stage == before) return step;
  }
}

ReplyParser::Step ReplyParser::ReadChunkSize() {
  QByteArray line;
  qsizetype used = 0;
  switch (TakeLine(m_limits.maxChunkExtensionBytes + ChunkSizeLineSlack, &line, &used)) {
    case LineResult::More:
      return m_closed ? CutOff() : Step::NeedMore;
    case LineResult::TooLong:
      return FailChunks();
    case LineResult::Line:
      break;
  }
  // Hex digits only: no sign, no "0x", no blank before them.
  qsizetype digits = 0;
  qint64 size = 0;
  while (digits < line.size() && HexValue(line[digits]) >= 0) {
    size = size * 16 + HexValue(line[digits]);
    if (++digits > 16 || size > MaxChunkSize) return FailChunks();
  }
  if (digits == 0) return FailChunks();
  // Blanks only before an extension; the extension is kept short and is ignored.
  qsizetype rest = digits;
  while (rest < line.size() && IsBlank(line[rest])) ++rest;
  if (rest < line.size()) {
    const QByteArrayView extension = QByteArrayView(line).sliced(rest + 1);
    if (line[rest] != ';' || extension.size() > m_limits.maxChunkExtensionBytes ||
        HasControl(extension)) {
      return FailChunks();
    }
  } else if (rest != digits) {
    return FailChunks();
  }
  m_left = size;
  m_stage = size == 0 ? Stage::Trailer : Stage::ChunkData;
  return Step::NeedMore;
}

ReplyParser::Step ReplyParser::ReadChunkData() {
  const Step step = ReadBodyBytes();
  if (step == Step::Body && m_left == 0) m_stage = Stage::ChunkDataEnd;
  return step;
}

ReplyParser::Step ReplyParser::ReadChunkDataEnd() {
  QByteArray line;
  qsizetype used = 0;
  switch (TakeLine(2, &line, &used)) {
    case LineResult::More:
      return m_closed ? CutOff() : Step::NeedMore;
    case LineResult::TooLong:
      return FailChunks();
    case LineResult::Line:
      break;
  }
  if (!line.isEmpty()) return FailChunks();
  m_stage = Stage::ChunkSize;
  return Step::NeedMore;
}

// Trailer fields are read to their blank line and dropped; their bytes together are capped,
// which bounds their lines too.
ReplyParser::Step ReplyParser::ReadTrailer() {
  for (;;) {
    const qsizetype left = m_limits.maxTrailerBytes - m_trailerBytes;
    QByteArray line;
    qsizetype used = 0;
    const LineResult result = TakeLine(std::min(m_limits.maxLineBytes + 2, left), &line, &used);
    if (result == LineResult::More) return m_closed ? CutOff() : Step::NeedMore;
    if (result == LineResult::TooLong || line.size() > m_limits.maxLineBytes) {
      return Fail(FetchFailure::Protocol,
                  QStringLiteral("The server sent more than %1 of fields after the file.")
                      .arg(SizeText(m_limits.maxTrailerBytes)));
    }
    m_trailerBytes += used;
    if (line.isEmpty()) return Reached();
  }
}

// The body's end: the reply is whole unless more follows it.
ReplyParser::Step ReplyParser::Reached() {
  m_stage = Stage::End;
  if (m_pos == m_buffer.size()) return Step::End;
  return Fail(
      FetchFailure::Overlong,
      m_framing == Framing::Length
          ? QStringLiteral("The server sent more than the %1 bytes it announced.").arg(m_announced)
          : QStringLiteral("The server sent more after the end of the file."));
}

ReplyParser::Step ReplyParser::CutOff() {
  switch (m_stage) {
    case Stage::Head:
      return Fail(FetchFailure::Truncated,
                  QStringLiteral("The server closed the connection without an answer."));
    case Stage::LengthBody:
      return Fail(FetchFailure::Truncated,
                  QStringLiteral("The transfer ended after %1 of the %2 bytes announced.")
                      .arg(m_bodyBytes)
                      .arg(m_announced));
    default:
      break;
  }
  return Fail(FetchFailure::Truncated,
              QStringLiteral("The transfer ended before its last part, after %1.")
                  .arg(SizeText(m_bodyBytes)));
}

ReplyParser::Step ReplyParser::Fail(FetchFailure failure, const QString& error) {
  m_stage = Stage::Failed;
  m_failure = failure;
  m_error = error;
  m_buffer.clear();
  m_pos = m_scan = 0;
  m_body.clear();
  return Step::Failed;
}

ReplyParser::Step ReplyParser::Malformed() {
  return Fail(FetchFailure::Protocol, QStringLiteral("The server's reply does not read as HTTP."));
}

ReplyParser::Step ReplyParser::FailChunks() {
  return Fail(FetchFailure::Protocol,
              QStringLiteral("The server's reply is not cut into parts as HTTP cuts it."));
}

}  // namespace webupdate
