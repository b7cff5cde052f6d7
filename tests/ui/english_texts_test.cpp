#include "app/files/file_list.h"
#include "core/batch/batch_arguments.h"
#include "core/batch/batch_texts.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_menu.h"
#include "gui/window/frm_options.h"
#include "gui/window/skin_captions.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextStream>

// Every text the windows and the batch mode show in English, one "where: text" line each, so
// that making them translatable cannot change a byte. PELKORA_WRITE_TEXTS=1 writes the file.
namespace {

const QString kSnapshot = QStringLiteral(PELKORA_SOURCE_DIR "/tests/ui/data/english_texts.txt");

QString escaped(QString text) {
    return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
}

void add(QStringList& out, const QString& where, const QString& text) {
    if (!text.isEmpty())
        out << where + QStringLiteral(": ") + escaped(text);
}

void addWidgets(QStringList& out, QWidget& window) {
    const QString name = window.objectName();
    add(out, name + QStringLiteral(" title"), window.windowTitle());
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString where = name + u' ' + QString::fromLatin1(w->metaObject()->className());
        add(out, where + QStringLiteral(" tip"), w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(out, where, label->text());
        // An image button's text only carries its access key; its caption is drawn beside it.
        else if (auto* button = qobject_cast<QAbstractButton*>(w);
                 button && !qobject_cast<ImageButton*>(w))
            add(out, where, button->text());
        else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->isReadOnly())
            add(out, where, edit->text());
        // Numbers (the machine's processor count among them) are no texts.
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                if (bool number = false; combo->itemText(i).toInt(&number), !number)
                    add(out, where + QStringLiteral(" item"), combo->itemText(i));
        if (auto* caption = qobject_cast<ButtonCaption*>(w))
            add(out, where, caption->text());
        if (auto* menu = qobject_cast<QMenu*>(w))
            for (QAction* action : menu->actions())
                add(out, where + QStringLiteral(" entry"), action->text());
    }
}

void addBatch(QStringList& out) {
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    add(out, QStringLiteral("batch help"), text(headless::HelpText()));
    headless::RunSummary summary;
    summary.converted = 3;
    summary.warnings = 1;
    summary.failed = 2;
    summary.upToDate = 4;
    summary.pruned = 1;
    summary.unreadFolders = 2;
    summary.failures = {{"/in/a.wav", "no audio"}};
    summary.renamings = {{"/in/b.wav", "/out/b (1).mp3"}};
    summary.warningNotes = {{"/in/c.wav", "cut short"}};
    add(out, QStringLiteral("batch summary"), text(headless::SummaryText(summary, false)));
    summary.unreadFolders = 1;
    add(out, QStringLiteral("batch quiet summary"), text(headless::SummaryText(summary, true)));
    const headless::FileStep step{2, 5, "/in/song.wav", "/out/song.mp3"};
    add(out, QStringLiteral("batch progress"),
        text(headless::ProgressLine(step, "45%", {1, 5, 0.3, 130}, 200)));
    for (auto outcome : {headless::FileOutcome::Failed, headless::FileOutcome::Warning,
                         headless::FileOutcome::UpToDate})
        add(out, QStringLiteral("batch finished"),
            text(headless::FinishedLine(step, outcome, "why")));
    add(out, QStringLiteral("batch loudness"), text(headless::LoudnessSuffix(-20.5, 0.5)));
    add(out, QStringLiteral("batch loudness"), text(headless::LoudnessSuffix({}, 0.0)));
    add(out, QStringLiteral("batch bitrate"), text(headless::BitrateProblem(9, 11)));
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"--prune", "a"},
        {"--shard", "1/2", "a"},
        {"--nope", "a"},
        {"-x", "a"},
        {"--quiet=1", "a"},
        {"--format"},
        {"--format", "xyz", "a"},
        {"--output", "", "a"},
        {"--name", "{nope}", "a"},
        {"--report", "r.txt", "a"},
        {"--jobs", "0", "a"},
        {"--sync", "--shard", "3/2", "a"},
        {"--cut", "1:99", "5", "a"},
        {"--cut", "5", "x", "a"},
        {"--cut", "5", "a"},
        {"", "a"},
        {"--format", "mp3", "--bitrate", "320", "--rate", "8000", "a"},
    };
    for (const auto& misuse : misuses) {
        const auto parsed = headless::ParseBatchArguments(misuse, 2);
        if (const auto* error = std::get_if<headless::UsageError>(&parsed))
            add(out, QStringLiteral("batch usage"), text(error->message));
        else
            for (const std::string& note : std::get<headless::BatchArguments>(parsed).notes)
                add(out, QStringLiteral("batch note"), text(note));
    }
    const auto jobs = headless::ParseBatchArguments({"--jobs", "99", "a"}, 2);
    for (const std::string& note : std::get<headless::BatchArguments>(jobs).notes)
        add(out, QStringLiteral("batch note"), text(note));
    for (int status : {130, 129, 131, 143})
        add(out, QStringLiteral("batch stop"), text(headless::StopText(status)));
}

QStringList englishTexts() {
    QStringList out;
    FileList list;
    frmMain main(list);
    addWidgets(out, main);
    for (bool stop : {false, true})
        add(out, QStringLiteral("convert caption"), ConvertCaption::text(stop));
    list.ShowDropHint(FileList::searchingHintText());
    add(out, QStringLiteral("hint"), main.lblText()->text());
    for (int column = 0; column < list.columnCount(); ++column)
        add(out, QStringLiteral("list header"),
            list.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    frmOptions options;
    addWidgets(out, options);
    addBatch(out);
    return out;
}

} // namespace

TEST(EnglishTexts, AreByteForByteAsBefore) {
    const QStringList now = englishTexts();
    QFile file(kSnapshot);
    if (qEnvironmentVariableIsSet("PELKORA_WRITE_TEXTS")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write((now.join(u'\n') + u'\n').toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "missing " << kSnapshot.toStdString();
    const QStringList before = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(before.size(), now.size()); ++i)
        ASSERT_EQ(before.value(i).toStdString(), now.value(i).toStdString()) << "line " << i + 1;
}
