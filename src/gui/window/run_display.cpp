#include "gui/window/run_display.h"

#include "app/run/batch_run.h"
#include "core/engine/progress_parser.h"
#include "gui/window/layout.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace run_display {

float BarWidthTwips(double fraction) {
    return static_cast<float>(layout::main::imgPBFullWidthTwips * std::clamp(fraction, 0.0, 1.0));
}

QString Caption(double fraction) {
    if (fraction >= 1.0)
        return QStringLiteral("100%");
    return QString::fromStdString(PercentCaption(std::max(fraction, 0.0) * 100.0));
}

QString ReportText(const RunReport& report) {
    QString text;
    auto section = [&text](const std::vector<RunReport::Item>& items, const QString& heading,
                           bool arrow) {
        if (items.empty())
            return;
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += heading + QLatin1Char('\n');
        const std::size_t listed = std::min<std::size_t>(items.size(), kMaxListedItems);
        for (std::size_t i = 0; i < listed; ++i)
            text += QString::fromUtf8(arrow ? "\n%1\n    \u2192 %2" : "\n%1\n    %2")
                        .arg(QFile::decodeName(items[i].path), items[i].text);
        if (items.size() > listed)
            text += QCoreApplication::translate("RunDisplay", "\n\nand %1 more")
                        .arg(items.size() - listed);
    };
    section(report.failures,
            report.failures.size() == 1
                ? QCoreApplication::translate("RunDisplay", "This file could not be converted:")
                : QCoreApplication::translate("RunDisplay", "These files could not be converted:"),
            false);
    section(report.warnings,
            QCoreApplication::translate(
                "RunDisplay", "Converted with warnings (the input may be damaged or cut short):"),
            false);
    section(report.renamings,
            QCoreApplication::translate(
                "RunDisplay", "Renamed so that no output replaces another from this run:"),
            true);
    if (report.upToDate > 0) {
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += report.upToDate == 1
                    ? QCoreApplication::translate("RunDisplay",
                                                  "1 file was up to date and left as it was.")
                    : QCoreApplication::translate("RunDisplay",
                                                  "%1 files were up to date and left as they were.")
                          .arg(report.upToDate);
    }
    return text;
}

} // namespace run_display
