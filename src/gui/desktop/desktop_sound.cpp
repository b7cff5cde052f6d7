#include "gui/desktop/desktop_services.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace platform {
namespace {

// A chime longer than this is cut short rather than holding the window.
constexpr int kLongestWaitMs = 15000;

} // namespace

void QtSound::playToEnd(const QString& path, std::function<void()> done) {
    if (QMediaDevices::audioOutputs().isEmpty() || !QFileInfo(path).isFile()) {
        QTimer::singleShot(0, std::move(done));
        return;
    }
    auto* effect = new QSoundEffect;
    auto finished = std::make_shared<bool>(false);
    auto finish = [effect, finished, done = std::move(done)] {
        if (*finished)
            return;
        *finished = true;
        effect->stop();
        effect->deleteLater();
        done();
    };
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, finish] {
        if (effect->status() == QSoundEffect::Error)
            finish();
        else if (effect->status() == QSoundEffect::Ready)
            effect->play();
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect, finish] {
        if (!effect->isPlaying())
            finish();
    });
    QTimer::singleShot(kLongestWaitMs, effect, finish);
    effect->setSource(QUrl::fromLocalFile(path));
}

} // namespace platform
