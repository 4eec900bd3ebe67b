// Turns one help document written in Markdown into a PDF; run by the build for every document.
//
//   helpdoc SOURCE.md OUTPUT.pdf [--images DIR]... [--preview DIR] [--sections] [--heading-pages]
//
// Pictures named in the text are looked up beside the source, then in each --images folder.
// A top-level heading after the first starts a new page (a chapter of its own, such as the
// command line's); a heading that would end a page goes to the next with its text.
// --sections prints the headings of the document written, one a line, so a build or a test can
// see what it holds; --heading-pages prints each heading's page and the page of the text after it.
// --preview also writes every page as a PNG, laid out the same way, to look at without a PDF
// viewer.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QAbstractTextDocumentLayout>
#include <cstdio>

namespace {

// Widest picture on the page, in the document's 96-dpi units: A4 less the 2 cm margins.
constexpr qreal MaxImageWidth = 620;
// Screenshots printed at their screen size look coarse and large; a smaller print is sharper.
constexpr qreal ImageScale = 0.7;

bool isWide(QChar c)
{
    return c.unicode() >= 0x2E80;
}

// Markdown joins the lines of a paragraph with a space, which shows as a gap in Chinese text;
// a line ending in a Chinese character is joined to the next without one.
QString joinChineseLines(const QString &text)
{
    static const QRegularExpression blockStart(QStringLiteral(R"(^\s*([-*+]\s|\d+\.\s|#|\||!\[|```|>))"));
    QStringList lines = text.split(QLatin1Char('\n'));
    QStringList out;
    bool code = false;
    for (const QString &line : lines) {
        const bool fence = line.trimmed().startsWith(QLatin1String("```"));
        const QString prev = out.isEmpty() ? QString() : out.last();
        if (!code && !fence && !prev.isEmpty() && isWide(prev.at(prev.size() - 1)) && !line.trimmed().isEmpty()
            && !blockStart.match(line).hasMatch() && !prev.trimmed().startsWith(QLatin1Char('|'))
            && !prev.trimmed().startsWith(QLatin1Char('#')))
            out.last() += line.trimmed();
        else
            out << line;
        if (fence)
            code = !code;
    }
    return out.join(QLatin1Char('\n'));
}

bool loadImages(QTextDocument &doc, const QString &text, const QStringList &folders)
{
    static const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)\s]+)\))"));
    bool ok = true;
    for (auto it = image.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1);
        QImage picture;
        for (const QString &folder : folders) {
            if (picture.load(folder + QLatin1Char('/') + name))
                break;
        }
        if (picture.isNull()) {
            std::fprintf(stderr, "helpdoc: picture %s not found\n", qPrintable(name));
            ok = false;
            continue;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), picture);
    }
    return ok;
}

// Qt 6 keeps a list of families where Qt 5 kept one.
void setFamily(QTextCharFormat &format, const QString &family)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    format.setFontFamilies({family});
#else
    format.setFontFamily(family);
#endif
}

QString familyOf(const QTextCharFormat &format)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return format.property(QTextFormat::FontFamilies).toStringList().value(0);
#else
    return format.fontFamily();
#endif
}

// Pictures wider than the page are scaled down to its width; tables get thin rules.
void fitToPage(QTextDocument &doc)
{
    // Code in a monospaced face that has the Chinese characters too, blocks on a light ground.
    QTextCharFormat mono;
    setFamily(mono, QStringLiteral("WenQuanYi Micro Hei Mono"));
    const QString fixedFamily = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat blockFormat = b.blockFormat();
        if (blockFormat.hasProperty(QTextFormat::BlockCodeFence) || blockFormat.hasProperty(QTextFormat::BlockCodeLanguage)) {
            QTextCursor c(b);
            QTextBlockFormat shaded = blockFormat;
            shaded.setBackground(QColor(242, 242, 242));
            c.setBlockFormat(shaded);
            c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            c.mergeCharFormat(mono);
            continue;
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().fontFixedPitch() || familyOf(f.charFormat()) == fixedFamily) {
                QTextCursor c(&doc);
                c.setPosition(f.position());
                c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
                c.mergeCharFormat(mono);
                continue;
            }
            if (!f.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = f.charFormat().toImageFormat();
            const QImage picture = doc.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
            if (picture.isNull())
                continue;
            const qreal scale = qMin(ImageScale, MaxImageWidth / picture.width());
            format.setWidth(picture.width() * scale);
            format.setHeight(picture.height() * scale);
            QTextCursor c(&doc);
            c.setPosition(f.position());
            c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(format);
        }
    }
    QList<QTextFrame *> frames{doc.rootFrame()};
    while (!frames.isEmpty()) {
        QTextFrame *frame = frames.takeFirst();
        frames += frame->childFrames();
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorder(0.5);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderBrush(QColor(150, 150, 150));
            format.setCellSpacing(0);
            format.setCellPadding(3);
            table->setFormat(format);
        }
    }
}

// Every top-level heading but the title begins a page.
void breakBeforeChapters(QTextDocument &doc)
{
    bool title = true;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() != 1)
            continue;
        if (title) {
            title = false;
            continue;
        }
        QTextBlockFormat f = b.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(f);
    }
}

QStringList headings(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level == 1 || level == 2)
            out << QString(level, QLatin1Char('#')) + QLatin1Char(' ') + b.text();
    }
    return out;
}

const QSizeF kPage(794, 1123);  // A4 at 96 dpi

// The document laid out on the PDF's pages: A4 with 2 cm margins.
std::unique_ptr<QTextDocument> pagedCopy(const QTextDocument &source)
{
    std::unique_ptr<QTextDocument> doc(source.clone());
    QTextFrameFormat root = doc->rootFrame()->frameFormat();
    root.setMargin(76);
    doc->rootFrame()->setFrameFormat(root);
    doc->setPageSize(kPage);
    return doc;
}

// The page a block's first line is printed on.
int pageOf(const QTextDocument &doc, const QTextBlock &b)
{
    qreal top = doc.documentLayout()->blockBoundingRect(b).top();
    if (b.layout() && b.layout()->lineCount() > 0)
        top += b.layout()->lineAt(0).y();
    return int(top / kPage.height());
}

// A heading left alone at the foot of a page is moved to the next, with the text it heads.
// Each move can push later headings down, so the pages are laid out again after each.
void keepHeadingsWithText(QTextDocument &doc)
{
    for (int moves = 0; moves < 200; ++moves) {
        const std::unique_ptr<QTextDocument> paged = pagedCopy(doc);
        QTextBlock orphan;
        for (QTextBlock b = paged->begin(); b.isValid() && b.next().isValid(); b = b.next()) {
            if (b.blockFormat().headingLevel() >= 2 && pageOf(*paged, b) != pageOf(*paged, b.next())) {
                orphan = doc.findBlockByNumber(b.blockNumber());
                break;
            }
        }
        if (!orphan.isValid())
            return;
        QTextBlockFormat f = orphan.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(orphan).setBlockFormat(f);
    }
}

// Each heading with the page it is printed on and the page of the text after it.
void printHeadingPages(const QTextDocument &source)
{
    const std::unique_ptr<QTextDocument> doc = pagedCopy(source);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 0)
            continue;
        const int next = b.next().isValid() ? pageOf(*doc, b.next()) + 1 : 0;
        std::printf("%d %d %s\n", pageOf(*doc, b) + 1, next, b.text().toUtf8().constData());
    }
}

bool writePreview(const QTextDocument &source, const QString &folder)
{
    const std::unique_ptr<QTextDocument> doc = pagedCopy(source);
    QDir().mkpath(folder);
    for (int i = 0; i < doc->pageCount(); ++i) {
        QImage image(kPage.toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(0, -i * kPage.height());
        doc->drawContents(&p, QRectF(QPointF(0, i * kPage.height()), kPage));
        p.end();
        if (!image.save(QStringLiteral("%1/page-%2.png").arg(folder).arg(i + 1, 2, 10, QLatin1Char('0'))))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QStringList folders;
    QString preview;
    const bool listSections = args.removeAll(QStringLiteral("--sections")) > 0;
    const bool listPages = args.removeAll(QStringLiteral("--heading-pages")) > 0;
    for (int i = 0; i + 1 < args.size();) {
        if (args.at(i) == QLatin1String("--images")) {
            folders << args.at(i + 1);
            args.erase(args.begin() + i, args.begin() + i + 2);
        } else if (args.at(i) == QLatin1String("--preview")) {
            preview = args.at(i + 1);
            args.erase(args.begin() + i, args.begin() + i + 2);
        } else {
            ++i;
        }
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: helpdoc SOURCE.md OUTPUT.pdf [--images DIR]... [--preview DIR] [--sections] [--heading-pages]\n");
        return 2;
    }
    QFile source(args.at(0));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "helpdoc: cannot read %s\n", qPrintable(args.at(0)));
        return 1;
    }
    const QString text = QString::fromUtf8(source.readAll());
    folders.prepend(QFileInfo(args.at(0)).absolutePath());

    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    doc.setDocumentMargin(0);
    doc.setMarkdown(joinChineseLines(text), QTextDocument::MarkdownDialectGitHub);
    // After the text: setting it drops the document's resources.
    if (!loadImages(doc, text, folders))
        return 1;
    fitToPage(doc);
    breakBeforeChapters(doc);
    keepHeadingsWithText(doc);

    const QString title = text.section(QLatin1Char('\n'), 0, 0).remove(QRegularExpression(QStringLiteral("^#+\\s*")));
    QDir().mkpath(QFileInfo(args.at(1)).absolutePath());
    {
        QPdfWriter pdf(args.at(1));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Tavo"));
        doc.print(&pdf);
    }
    if (QFileInfo(args.at(1)).size() == 0) {
        std::fprintf(stderr, "helpdoc: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    if (!preview.isEmpty() && !writePreview(doc, preview)) {
        std::fprintf(stderr, "helpdoc: cannot write the preview to %s\n", qPrintable(preview));
        return 1;
    }
    if (listSections) {
        for (const QString &h : headings(doc))
            std::printf("%s\n", h.toUtf8().constData());
    }
    if (listPages)
        printHeadingPages(doc);
    return 0;
}
