#include "textlines.h"

namespace kesto {

bool LineReader::atEnd()
{
    return device_.atEnd();
}

bool LineReader::readLine(QByteArray &line)
{
    line.clear();
    if (device_.atEnd())
        return false;
    char c = 0;
    while (device_.getChar(&c)) {
        if (c == '\n')
            return true;
        if (c == '\r') {
            char next = 0;
            if (device_.peek(&next, 1) == 1 && next == '\n')
                device_.getChar(&next);
            return true;
        }
        line.append(c);
    }
    if (!device_.atEnd())
        failed_ = true;
    return !failed_;
}

} // namespace kesto
