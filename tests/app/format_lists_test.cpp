// The bitrate list follows the chosen format: Opus and M4A offer their own bitrates, the other
// formats the whole list; the choice moves to the nearest bitrate a format offers.
#include "app_test_support.h"

#include <gtest/gtest.h>

#include <QComboBox>

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

const QStringList kAll = {"32",  "48",  "56",  "64",  "80",  "96",
                          "112", "128", "192", "224", "256", "320"};
const QStringList kOpus = {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256"};
const QStringList kM4a = {"64", "80", "96", "112", "128", "192", "224", "256", "320"};

QByteArray SetupBytes(int bitrate, int format) {
    return "\"" + QByteArray::number(bitrate) + "\"\r\n\"1\"\r\n\"1\"\r\n\"/out\"\r\n\"" +
           QByteArray::number(format) + "\"\r\n";
}

TEST(FormatLists, TheBitrateListFollowsTheFormatAndTheChoiceMovesToTheNearest) {
    AppFixture app;
    writeFile(app.program.filePath("setup.ini"), SetupBytes(11, 0));
    app.controller->Load();
    QComboBox* formats = app.window->cmbOF();
    QComboBox* bitrates = app.window->cmbBR();
    EXPECT_EQ(Items(formats), (QStringList{"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR",
                                           "MPG", "OPUS", "M4A", "ALAC"}));

    // Each step: the format picked (or -1), the bitrate picked by its text (or none), then
    // what the list holds and shows, and the choice as a position in the whole list.
    const struct {
        int format;
        QString pick;
        QStringList items;
        QString shown;
        int choice;
    } steps[] = {
        {-1, {}, kAll, "320", 11},    {9, {}, kOpus, "256", 10}, // 320 is no Opus bitrate
        {-1, "32", kOpus, "32", 0},   {10, {}, kM4a, "64", 3},   // nor 32 an M4A one
        {-1, "192", kM4a, "192", 8},  {9, {}, kOpus, "192", 8},  {0, {}, kAll, "192", 8},
        {-1, "320", kAll, "320", 11}, {11, {}, kAll, "320", 11}, // ignored, as for FLAC
        {10, {}, kM4a, "320", 11},    {4, {}, kAll, "320", 11},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << "format " << step.format << " pick " << step.pick.toStdString());
        if (step.format >= 0)
            formats->setCurrentIndex(step.format);
        if (!step.pick.isEmpty())
            bitrates->setCurrentIndex(bitrates->findText(step.pick));
        EXPECT_EQ(Items(bitrates), step.items);
        EXPECT_EQ(bitrates->currentText(), step.shown);
        EXPECT_EQ(app.controller->choices().value().bitrateIndex, step.choice);
        EXPECT_EQ(app.controller->choices().value().conversionSettings().bitrate,
                  step.shown.toStdString());
    }
}

// Older settings read as before; a stored bitrate a format does not offer shows as the nearest
// it does and is saved so.
TEST(FormatLists, SavedChoicesShowWithTheFormatsListAndAreSavedAsShown) {
    const struct {
        int format, bitrate;
        QString formatText, shown;
        QStringList items;
        int saved;
    } cases[] = {
        {4, 11, "FLAC", "320", kAll, 11},  {0, 0, "MP3", "32", kAll, 0},
        {9, 11, "OPUS", "256", kOpus, 10}, {10, 1, "M4A", "64", kM4a, 3},
        {10, 7, "M4A", "128", kM4a, 7},    {11, 0, "ALAC", "32", kAll, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formatText.toStdString() + " " + std::to_string(c.bitrate));
        AppFixture app;
        const QString setup = app.program.filePath("setup.ini");
        writeFile(setup, SetupBytes(c.bitrate, c.format));
        app.controller->Load();
        EXPECT_EQ(app.window->cmbOF()->currentText(), c.formatText);
        EXPECT_EQ(Items(app.window->cmbBR()), c.items);
        EXPECT_EQ(app.window->cmbBR()->currentText(), c.shown);
        app.controller->Exit();
        EXPECT_EQ(readFile(setup), SetupBytes(c.saved, c.format));
    }
}

} // namespace
