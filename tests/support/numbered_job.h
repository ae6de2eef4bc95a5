#pragma once

#include "job/job_settings.h"

namespace kesto::test {

// The job whole-program runs start from: root/src into "tool" archives of 500,000-byte volumes in
// root/out, the description root/file_id.diz numbered at column 7 of line 2, the nfo
// root/about.nfo.
inline JobSettings numberedJob(const QString &root)
{
    JobSettings job;
    job.SourcePath = root + "/src";
    job.DizPath = root + "/file_id.diz";
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizColumn = "7";
    job.DizLine = "2";
    job.NfoPath = root + "/about.nfo";
    job.ZipDir = root + "/out";
    job.ZipName = "tool";
    job.VolumeSizeSetting = 1;
    return job;
}

} // namespace kesto::test
