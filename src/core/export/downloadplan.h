#pragma once

#include "download/downloadjob.h"
#include "download/limitcheck.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// A download as a fixed list of steps, taken from the step machine itself by acknowledging every
// step at once: what each step writes, how long it may wait for its answer, and what the answers
// are judged against. The exported C machine plays this list back, so it sends what the download
// sends.
struct DownloadPlan {
    struct Write {
        enum Kind { Command, BootScript, PageScript, PictureHeader, Pixels };
        Kind kind = Command;
        int page = -1;  // PageScript: its page number
        QByteArray bytes;
    };
    struct Step {
        int firstWrite = 0;  // the step's writes: [firstWrite, endWrite)
        int endWrite = 0;
        int timeoutMs = 0;
        qint64 heldBytes = 0;  // block bytes whose line time is added until they have left
        bool ticks = false;    // erase and write ticks restart the wait
        bool final = false;    // the job ends once these writes have left
    };

    QVector<Write> writes;
    QVector<Step> steps;
    QVector<PageLoad> pages;  // judged against an information answer
    qint64 pictureBytes = 0;  // judged against a flash answer
    qint64 wireBytes = 0;
    QString problem;          // the step machine refused the job: nothing else is set
};

DownloadPlan planDownload(const DownloadJob &job);
