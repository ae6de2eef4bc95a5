#pragma once
// Text files are bytes: lines end at CR LF, a lone CR or a lone LF; nothing is transcoded.
#include <QByteArray>
#include <QIODevice>

namespace kesto {

class LineReader {
public:
    explicit LineReader(QIODevice &device) : device_(device) {}
    // False at the end of the input (or on a read error; see failed()).
    bool readLine(QByteArray &line);
    bool atEnd();
    bool failed() const { return failed_; }

private:
    QIODevice &device_;
    bool failed_ = false;
};

inline const QByteArray crlf = QByteArrayLiteral("\r\n");

} // namespace kesto
