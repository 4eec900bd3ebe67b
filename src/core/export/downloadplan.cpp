#include "export/downloadplan.h"

#include "download/downloadsteps.h"

DownloadPlan planDownload(const DownloadJob &job)
{
    DownloadPlan plan;
    for (const PageData &page : job.pages)
        plan.pages << pageLoad(page);
    plan.pictureBytes = job.pictures.totalBytes();

    DownloadSteps steps([] { return qint64(0); });
    bool ticks = false;
    // Turns what the machine put out since the last acknowledgement into one step.
    auto take = [&](int step, int pageIndex) {
        DownloadPlan::Step s;
        s.firstWrite = plan.writes.size();
        bool bootScriptNext = false;
        for (const StepOutput &o : steps.takeOutput()) {
            if (o.kind == StepOutput::Progress)
                ticks = true;
            if (o.kind == StepOutput::Message && o.code == DownloadSteps::BootScriptSent)
                bootScriptNext = true;
            if (o.kind == StepOutput::Finished) {
                if (!o.ok) {
                    plan.problem = o.text;
                    return false;
                }
                s.final = true;
            }
            if (o.kind != StepOutput::Write || o.bytes.isEmpty())
                continue;
            DownloadPlan::Write w;
            w.bytes = o.bytes;
            const bool pageSteps = job.mode == DownloadMode::PagesOnly ||
                                   (job.mode == DownloadMode::PicturesAndPages && step >= DownloadSteps::PageStepsOffset);
            const int inPart = job.mode == DownloadMode::PicturesAndPages && pageSteps
                                   ? step - DownloadSteps::PageStepsOffset
                                   : step;
            if (bootScriptNext) {
                w.kind = DownloadPlan::Write::BootScript;
            } else if (pageSteps && inPart == 4) {
                w.kind = DownloadPlan::Write::PageScript;
                w.page = pageIndex;
            } else if (!pageSteps && inPart == 2) {
                w.kind = DownloadPlan::Write::PictureHeader;
            } else if (!pageSteps && inPart == 4) {
                w.kind = DownloadPlan::Write::Pixels;
            }
            bootScriptNext = false;
            plan.wireBytes += w.bytes.size();
            plan.writes << w;
        }
        s.endWrite = plan.writes.size();
        s.timeoutMs = steps.timeoutMs();
        s.heldBytes = steps.heldBytes();
        s.ticks = ticks;
        plan.steps << s;
        return true;
    };

    steps.start(job);
    if (!take(steps.step(), steps.pageIndex()))
        return plan;
    // Bounded: a job has a few steps per page and picture block.
    for (int i = 0; i < 4 * job.pages.size() + 64 && steps.isActive(); ++i) {
        steps.acknowledge();
        const bool active = steps.isActive();
        if (!take(steps.step(), steps.pageIndex()))
            return plan;
        if (!active)
            break;
    }
    if (plan.steps.isEmpty() || !plan.steps.last().final)
        plan.problem = QStringLiteral("the download does not come to an end");
    return plan;
}
