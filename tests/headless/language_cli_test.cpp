#include "headless/cli_support.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The batch mode in the user's language: Qt reads LC_ALL, LANG and LANGUAGE itself, so no
// system locale needs to exist.
class Languages : public cli::ProgramCopy {
protected:
    Languages() { fs::copy(PELKORA_PROGRAM_DIR "/translations", program + "/translations"); }

    cli::Finished BatchIn(const char* lcAll, const char* language,
                          const std::vector<std::string>& args) const {
        QProcess process;
        QProcessEnvironment env = environment();
        env.insert("LC_ALL", lcAll);
        env.insert("LANGUAGE", language);
        process.setProcessEnvironment(env);
        QStringList arguments{"--batch"};
        for (const std::string& a : args)
            arguments << QString::fromStdString(a);
        process.start(QString::fromStdString(program + "/pelkora"), arguments);
        return cli::Finish(process);
    }
};

TEST_F(Languages, HelpAndUsageErrorsFollowTheLocaleAndStayEnglishUnderC) {
    struct Case {
        const char* lcAll;
        const char* language;
        const char* helpStart;
        const char* usageError;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", "", "Aufruf: pelkora --batch",
         "pelkora: --format xyz ist keiner von mp3, wma"},
        {"fr_FR.UTF-8", "", "Utilisation : pelkora --batch",
         "pelkora: --format xyz ne fait pas partie de mp3, wma"},
        {"es_ES.UTF-8", "", "Uso: pelkora --batch", "pelkora: --format xyz no es ninguno de mp3"},
        {"en_GB.UTF-8", "", "Usage: pelkora --batch", "pelkora: --format xyz is not one of mp3"},
        // Under C the messages are the program's own, even where LANGUAGE asks for another.
        {"C", "de", "Usage: pelkora --batch", "pelkora: --format xyz is not one of mp3"},
        {"C.UTF-8", "fr", "Usage: pelkora --batch", "pelkora: --format xyz is not one of mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + " LANGUAGE=" + c.language);
        const cli::Finished help = BatchIn(c.lcAll, c.language, {"--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.out.rfind(c.helpStart, 0), 0u) << help.out.substr(0, 80);
        const cli::Finished misuse = BatchIn(c.lcAll, c.language, {"--format", "xyz", in});
        EXPECT_EQ(misuse.exitCode, 2);
        EXPECT_TRUE(cli::Contains(misuse.err, c.usageError)) << misuse.err;
    }
}

TEST_F(Languages, ARunSpeaksTheLanguageButItsReportStaysEnglish) {
    cli::MakeTone(in + "/tone.wav", 0.5);
    const std::string report = root.filePath("run.csv").toStdString();
    const cli::Finished run =
        BatchIn("de_DE.UTF-8", "", {"--format", "mp3", "--output", out, "--report", report, in});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(cli::Contains(run.err, "1 umgewandelt")) << run.err;
    const std::string rows = cli::ReadFile(report);
    EXPECT_EQ(rows.rfind("source,output,status,reason,seconds", 0), 0u) << rows;
    EXPECT_TRUE(cli::Contains(rows, ",converted,")) << rows;
}

} // namespace
