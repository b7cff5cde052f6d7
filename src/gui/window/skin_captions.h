#pragma once

#include "gui/window/skin.h"

#include <QWidget>

class ImageButton;
class frmMain;
class frmOptions;

// The word of a button whose face is painted on the art: drawn over the face in the button's
// looks, lit while the button shows its hover picture, washed while it does not answer.
class ButtonCaption final : public QWidget {
    Q_OBJECT
public:
    ButtonCaption(const skin::Caption& caption, ImageButton* button);

    [[nodiscard]] QString text() const { return text_; }
    [[nodiscard]] const skin::Caption& caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageButton* button_;
    skin::Caption caption_;
    QString text_;
};

// The Convert button's glyph and word; Stop while the button wears a stop face.
class ConvertCaption final : public QWidget {
    Q_OBJECT
public:
    ConvertCaption(ImageButton* button, const skin::MainPictures& pictures);

    // The word shown now, and the one for either face.
    [[nodiscard]] QString text() const;
    [[nodiscard]] static QString text(bool stop);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] bool stop() const;

    ImageButton* button_;
    const skin::MainPictures& pictures_;
};

// The windows' words as text over their art, in the user's language.
void addCaptions(frmMain& window);
void addCaptions(frmOptions& window);
