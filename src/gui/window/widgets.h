#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPixmap>

// A transparent button over a face painted on the window background. It shows no picture
// until its window gives it one (hover, pressed); empty, the painted face shows through.
class ImageButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    void clearPicture();
    [[nodiscard]] const QPixmap& picture() const { return picture_; }
    [[nodiscard]] bool showsPicture(const QPixmap& store) const;
    // The wash laid over the face while the button is disabled; it should match what lies
    // beneath, so that the face fades instead of turning into a box.
    void setDisabledWash(const QColor& wash) { disabledWash_ = wash; }

    [[nodiscard]] QSize sizeHint() const override;

signals:
    // Every mouse move over the button, with or without a button held.
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPixmap picture_;
    QColor disabledWash_{0xf4, 0xf7, 0xf6, 150};
    bool keyboardFocus_ = false;
};

// A one-line label in a fixed box. A text that does not fit at the preferred font is shown
// smaller until it does, whatever face the system gives.
class FitLabel : public QLabel {
    Q_OBJECT
public:
    explicit FitLabel(QWidget* parent = nullptr);

    void setPreferredFont(const QFont& font);
    // Fits the font before the text shows; a text set through QLabel fits at its next paint.
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QFont preferred_;
    QString fittedText_;
};

// A one-line label for texts of any length, such as paths: what does not fit is left out in
// the middle, so both ends stay readable, and the whole text shows as its tool tip.
class ElidedLabel final : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as painted.
    [[nodiscard]] QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

// A label that acts as a link: hand cursor, click and mouse-move signals.
class LinkLabel final : public FitLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

// The progress fill: a thin picture stretched to whatever width the progress display sets.
// To a screen reader it is the whole bar, with the share done as its value.
class ProgressFill final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressFill(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    [[nodiscard]] const QPixmap& picture() const { return picture_; }

    // Whole percent, clamped to 0..100; a reader hears of each change.
    void setPercent(double percent);
    [[nodiscard]] int percent() const { return percent_; }
    // The width of the track the fill runs along.
    void setTrackWidth(int width) { trackWidth_ = width; }
    [[nodiscard]] int trackWidth() const { return trackWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    int percent_ = 0;
    int trackWidth_ = 0;
};

// A check box drawn to match the skin; only the box itself, its words are painted.
class SkinCheckBox final : public QCheckBox {
    Q_OBJECT
public:
    explicit SkinCheckBox(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    [[nodiscard]] bool hitButton(const QPoint& pos) const override;
};
