#include "gui/window/skin_captions.h"

#include "gui/window/frm_main.h"
#include "gui/window/frm_options.h"
#include "gui/window/layout.h"
#include "gui/window/widgets.h"

#include <QCoreApplication>
#include <QPainter>

namespace {

QString shown(const skin::Caption& caption) {
    return QCoreApplication::translate("Skin", caption.text);
}

void prepare(QWidget* caption, const QRect& where) {
    caption->setGeometry(where);
    // The pointer and the keyboard belong to what lies beneath.
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption->setFocusPolicy(Qt::NoFocus);
}

void smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void addLabels(QWidget& window, const std::vector<skin::Caption>& captions) {
    for (const skin::Caption& caption : captions) {
        auto* label = new FitLabel(&window);
        prepare(label, caption.box);
        label->setAlignment(Qt::Alignment(caption.flags));
        label->setTextFormat(Qt::PlainText);
        label->setPreferredFont(caption.font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, caption.ink);
        label->setPalette(palette);
        label->setText(shown(caption));
    }
}

} // namespace

ButtonCaption::ButtonCaption(const skin::Caption& caption, ImageButton* button)
    : QWidget(button), button_(button), caption_(caption), text_(shown(caption)) {
    prepare(this, caption.box);
    caption_.box.moveTo(0, 0);
}

void ButtonCaption::paintEvent(QPaintEvent*) {
    QPainter p(this);
    smooth(p);
    skin::drawCaption(p, caption_, text_, !button_->picture().isNull(), button_->isEnabled());
}

ConvertCaption::ConvertCaption(ImageButton* button, const skin::MainPictures& pictures)
    : QWidget(button), button_(button), pictures_(pictures) {
    prepare(this, button->rect());
}

QString ConvertCaption::text(bool stop) {
    return shown(skin::convertCaption(stop));
}

QString ConvertCaption::text() const {
    return text(stop());
}

bool ConvertCaption::stop() const {
    return button_->showsPicture(pictures_.imgStop) ||
           button_->showsPicture(pictures_.imgStopLight);
}

void ConvertCaption::paintEvent(QPaintEvent*) {
    QPainter p(this);
    smooth(p);
    const bool stopFace = stop();
    skin::drawConvertCaption(p, skin::convertCaption(stopFace), text(stopFace), stopFace);
}

void addCaptions(frmMain& window) {
    addLabels(window, skin::mainCaptions());
    for (int index : layout::main::toolbarOrder)
        new ButtonCaption(skin::toolbarCaption(index), window.imgToolbar(index));
    for (int i = 0; i < 3; ++i)
        new ButtonCaption(skin::menuCaption(i), window.imgMenu(i));
    new ConvertCaption(window.imgConvert(), window.pictures());
}

void addCaptions(frmOptions& window) {
    addLabels(window, skin::optionsCaptions());
    new ButtonCaption(skin::dialogButtonCaption(true), window.imgOK());
    new ButtonCaption(skin::dialogButtonCaption(false), window.imgBack());
}
