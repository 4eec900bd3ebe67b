// Firmware bindings of a 1,000-page project (20 controls a page): reading the file, generating
// and writing C and Python, as `tavo-cli bindings` does. Also the generated size for the demo.
#include "benchdata.h"

#include "bindings/bindings.h"
#include "file/projectfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

double run(const QString &project, Bindings::Language language, const QString &out, bool all, qint64 *bytes)
{
    QElapsedTimer t;
    t.start();
    ProjectData data;
    ProjectFile::read(project, 0, &data);
    Bindings::Options o;
    o.language = language;
    o.prefix = QStringLiteral("bench");
    o.allCharacters = all;
    o.command = Bindings::commandLine(project, o, out);
    Bindings::Result r;
    QString error;
    QStringList written;
    if (!Bindings::generate(data, o, QStringLiteral("bench.py"), &r, &error) || !Bindings::writeFiles(out, r, &written, &error))
        QTextStream(stderr) << error << Qt::endl;
    *bytes = 0;
    for (const Bindings::File &f : r.files)
        *bytes += f.bytes.size();
    return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.Tavo"));
    ProjectFile::write(big, readingProject(1000, 20));
    const struct {
        const char *label;
        QString project;
        Bindings::Language language;
        bool all;
    } cases[] = {{"1000 pages, C", big, Bindings::Language::C, false},
                 {"1000 pages, Python", big, Bindings::Language::Python, false},
                 {"1000 pages, C, --all-chars", big, Bindings::Language::C, true},
                 {"demo, C", QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), Bindings::Language::C, false},
                 {"demo, Python", QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), Bindings::Language::Python, false}};
    for (const auto &c : cases) {
        QVector<double> times;
        qint64 bytes = 0;
        for (int i = 0; i < 5; ++i)
            times << run(c.project, c.language, dir.filePath(QStringLiteral("out")), c.all, &bytes);
        out << c.label << ": " << QString::number(median(times), 'f', 1) << " ms (median of 5), " << bytes
            << " bytes generated" << Qt::endl;
    }
    return 0;
}
