#pragma once
#include "job/job_settings.h"
#include "job/run_failure.h"
#include "system/window.h"

#include <optional>
#include <span>

namespace kesto {

class Session;

// One check of a job: a test that changes nothing, and what a failure does in the window (the
// page at fault, its field, the fields cleared because they name nothing).
struct JobCheck {
    const char *subject; // "source directory": what a preview names
    // The failure, or nothing. scratchPath: the file the skip list is read back through (left
    // removed), or empty to read it from memory and write nothing.
    std::optional<RunFailure> (*test)(const JobSettings &job, const QString &scratchPath);
    Page page;
    std::optional<Field> focus = std::nullopt;
    // The path a preview shows, cleared when it names nothing; and a field cleared with it.
    QString JobSettings::*shown = nullptr;
    QString JobSettings::*alsoCleared = nullptr;
};

// The checks of a just-loaded job, in page order (the description test follows them).
std::span<const JobCheck> ValidationChecks();
// The checks a run makes before it starts, in page order (the name clash question and the
// description test come between and after them).
std::span<const JobCheck> RunChecksBeforeClash();
std::span<const JobCheck> RunChecksAfterClash();

// Checks a just-loaded job page by page; clears what no longer exists; sets JobValid. Returns
// why the job is not valid.
std::optional<RunFailure> ValidateJob(Session &session);
// A zip name holding a blank, anything that would put the archives elsewhere ('/' or NUL), or
// one whose archive names would be too long for the file system of zipDir.
std::optional<RunFailure> ZipNameFailure(const QString &zipName, const QString &zipDir);

} // namespace kesto
