#pragma once
// par2's check and repair of a recovery set, and what its output says: which files it covers and
// in what state it finds them, how many blocks are there and how many a repair needs.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kesto {

struct Par2Target {
    enum class State { Found, Damaged, Missing };
    QByteArray name; // as par2 prints it: raw bytes
    State state = State::Found;
    qint64 blocksFound = -1; // damaged: the data blocks found of blocks; -1 when not said
    qint64 blocks = -1;
};

struct Par2Report {
    int exitStatus = -1;     // par2's own; -1 when it did not run to its end
    bool understood = false; // the output holds par2's verdict on the files
    QList<Par2Target> targets;
    qint64 dataBlocks = -1;          // of the files the set covers
    qint64 dataBlocksAvailable = -1; // found intact
    qint64 recoveryBlocks = -1;      // usable in the set
    bool repairRequired = false;
    bool repairPossible = false;
    qint64 blocksStillNeeded = 0; // when a repair is not possible
    QList<QByteArray> loaded;     // recovery files that gave packets
    QList<QByteArray> unusable;   // recovery files that gave none
    bool repaired = false;        // a repair ran and par2 found the result right
    QString failure;              // par2's last words when it failed
    int stopSignal = 0;           // the stop signal that ended it early; 0 when none
    // The data blocks a repair has to rebuild.
    qint64 blocksNeeded() const
    {
        return dataBlocks >= 0 && dataBlocksAvailable >= 0 ? dataBlocks - dataBlocksAvailable : 0;
    }
};

// Reads par2's output (progress pieces included) and its exit status.
Par2Report ParsePar2Output(const QByteArray &output, int exitStatus);

// One run of par2 (Par2Program(), which must be found) with these arguments, in its own process
// group, in the system directory, with par2's own English words; a stop signal ends it.
struct Par2Run {
    bool started = false;
    bool stopped = false;
    int exitStatus = -1; // -1 when it did not end by itself
    QByteArray output;   // its lines less progress
    QString failure;     // why it could not start
};
Par2Run RunPar2Program(const QStringList &arguments);
// par2's last line that says something: why it failed.
QString Par2LastWords(const QByteArray &output);

enum class Par2Action { Verify, Repair };
// Runs par2 (Par2Program(), which must be found) on the set whose main file is mainFile, an
// absolute path; it looks for the files the set covers beside that file. A stop signal ends it.
Par2Report RunPar2(Par2Action action, const QString &mainFile);

} // namespace kesto
