#include "export/downloadexport.h"

#include "bindings/generatedfile.h"
#include "download/downloadsteps.h"
#include "download/moduleanswer.h"
#include "export/downloadplan.h"
#include "export/downloadtemplates.h"

namespace {

QByteArray fill(QByteArray text, const DownloadExportOptions &o)
{
    text.replace("@p@", o.prefix.toUtf8());
    text.replace("@P@", o.prefix.toUpper().toUtf8());
    return text;
}

QByteArray number(qint64 n) { return QByteArray::number(n); }

const char *tokenKind(ModuleAnswer::Token t)
{
    using ModuleAnswer::Token;
    switch (t) {
    case Token::Ok: return "K_OK";
    case Token::GetAddr: return "K_GETADDR";
    case Token::Info: return "K_INFO";
    case Token::Firmware: return "K_FIRMWARE";
    case Token::Flash2:
    case Token::Flash3:
    case Token::Flash11: return "K_FLASH";
    case Token::Erase: return "K_ERASE";
    case Token::Write: return "K_WRITE";
    case Token::None: break;
    }
    return "K_OK";
}

QByteArray tokenRows()
{
    int count = 0;
    const ModuleAnswer::TokenText *table = ModuleAnswer::tokenTable(&count);
    QByteArray rows;
    for (int i = 0; i < count; ++i)
        rows += "    {\"" + QByteArray(table[i].text) + "\", " + number(qstrlen(table[i].text)) + ", " +
                tokenKind(table[i].token) + ", " +
                QByteArray::number(table[i].fields) + ", " + QByteArray::number(table[i].flashBytes) + "u},\n";
    return rows;
}

}  // namespace

DownloadExport exportDownload(const DownloadJob &job, const DownloadExportOptions &options)
{
    DownloadExport result;
    const DownloadPlan plan = planDownload(job);
    if (!plan.problem.isEmpty()) {
        result.problem = plan.problem;
        return result;
    }
    const QByteArray p = options.prefix.toUtf8();
    const QByteArray notice = GeneratedFile::openingComment(GeneratedFile::CommentStyle::C, options.command).toUtf8();

    // The job's arrays, named for what they hold.
    QByteArray arrays, declarations, writeRows;
    int commands = 0;
    bool readerBlock = false;
    for (const DownloadPlan::Write &w : plan.writes) {
        QByteArray name;
        bool shared = true;
        switch (w.kind) {
        case DownloadPlan::Write::Command:
            name = p + "_command_" + number(commands++);
            shared = false;
            break;
        case DownloadPlan::Write::BootScript: name = p + "_boot_script"; break;
        case DownloadPlan::Write::PageScript: name = p + "_page_script_" + number(w.page); break;
        case DownloadPlan::Write::PictureHeader: name = p + "_picture_header"; break;
        case DownloadPlan::Write::Pixels: name = p + "_pixels"; break;
        }
        if (w.kind == DownloadPlan::Write::Pixels && options.pixelsFromReader) {
            readerBlock = true;
            writeRows += "    {NULL, " + number(w.bytes.size()) + "u}, /* the pixel block, read through the callback */\n";
            continue;
        }
        const QByteArray size = number(w.bytes.size());
        if (shared)
            declarations += "extern const uint8_t " + name + "[" + size + "];\n";
        arrays += "/* " + GeneratedC::commentText(w.bytes) + " */\n" + (shared ? "" : "static ") +
                  "const uint8_t " + name + "[" + size + "] = {" + GeneratedC::byteList(w.bytes) + "};\n\n";
        writeRows += "    {" + name + ", " + size + "u},\n";
        result.dataBytes += w.bytes.size();
    }
    if (options.pixelsFromReader && !readerBlock) {
        result.problem = QStringLiteral("this download sends no pictures, so there is no pixel block to read");
        return result;
    }

    QByteArray stepRows;
    for (const DownloadPlan::Step &s : plan.steps) {
        const int flags = (s.ticks ? 1 : 0) | (s.final ? 2 : 0);
        stepRows += "    {" + number(s.firstWrite) + "u, " + number(s.endWrite) + "u, " + number(s.timeoutMs) + "u, " +
                    number(s.heldBytes) + "u, " + number(flags) + "},\n";
    }
    QByteArray pageRows;
    for (const PageLoad &l : plan.pages)
        pageRows += "    {" + number(l.controls) + ", " + number(l.bytes) + ", " + number(l.longestText) + "},\n";
    if (plan.pages.isEmpty())
        pageRows = "    {0, 0, -1},\n";  // C has no empty arrays; the count says there is none

    QByteArray header = notice + fill(kHeaderTemplate, options);
    header.replace("@KEEP@", number(ModuleAnswer::KeepBytes));
    header.replace("@DATA_DECLARATIONS@", declarations.isEmpty() ? QByteArray() : "\n" + declarations);

    QByteArray machine = notice + fill(kMachineTemplate, options);
    machine.replace("@TOKENS@", tokenRows());
    machine.replace("@MIN_GAP@", number(ModuleAnswer::MinQuietGapMs));
    machine.replace("@GAP_BYTES@", number(ModuleAnswer::QuietGapBytes));
    machine.replace("@LINE_FACTOR@", number(DownloadSteps::BlockLineFactor));
    machine.replace("@SLACK@", number(DownloadSteps::BlockSlackMs));

    QByteArray data = notice + "#include \"" + p + "_download.h\"\n\n" + arrays;
    data += "const " + p + "_download_write_t " + p + "_download_writes[] = {\n" + writeRows + "};\n\n";
    data += "/* first write, end write, time-out, held block bytes, flags */\n";
    data += "const " + p + "_download_step_t " + p + "_download_steps[] = {\n" + stepRows + "};\n\n";
    data += "/* controls, instruction bytes, longest text bytes */\n";
    data += "const " + p + "_download_page_t " + p + "_download_pages[] = {\n" + pageRows + "};\n";
    data += "const uint32_t " + p + "_download_page_count = " + number(plan.pages.size()) + "u;\n";
    data += "const uint32_t " + p + "_download_picture_bytes = " + number(plan.pictureBytes) + "u;\n";
    data += "const uint32_t " + p + "_download_total = " + number(plan.wireBytes) + "u;\n";
    data += "const uint32_t " + p + "_download_baud = " + number(options.baud) + "u;\n";

    const QString base = options.prefix;
    result.files << GeneratedC::File{base + QStringLiteral("_download.h"), header}
                 << GeneratedC::File{base + QStringLiteral("_download.c"), machine}
                 << GeneratedC::File{base + QStringLiteral("_download_data.c"), data};
    if (options.pixelsFromReader) {
        for (const DownloadPlan::Write &w : plan.writes)
            if (w.kind == DownloadPlan::Write::Pixels)
                result.files << GeneratedC::File{base + QStringLiteral("_pixels.bin"), w.bytes};
    }
    if (options.example) {
        QByteArray example = notice + fill(kExampleTemplate, options);
        example.replace("@PIXELS_USAGE@", options.pixelsFromReader ? " --pixels " + p + "_pixels.bin" : QByteArray());
        result.files << GeneratedC::File{base + QStringLiteral("_example_posix.c"), example};
    }
    return result;
}
