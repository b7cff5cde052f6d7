#include "gui/window/accessibility.h"

#include "gui/window/widgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// Qt names a combo box after its choice on this platform, so a reader announced "MP3" where
// the caption says what is chosen; the choice stays the value.
class ComboAccessible final : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return combo()->isEditable() ? combo()->lineEdit()->text() : combo()->currentText();
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = this->text(QAccessible::Value);
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        s.editable = combo()->isEditable();
        return s;
    }

    // The typing box, and the list of choices while it is open: closed, Qt would show its
    // rows to a reader as showing.
    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QObject*> all = children();
        if (index < 0 || index >= static_cast<int>(all.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(all[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr)
            return -1;
        const std::vector<QObject*> all = children();
        const auto at = std::find(all.begin(), all.end(), child->object());
        return at == all.end() ? -1 : static_cast<int>(at - all.begin());
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
    std::vector<QObject*> children() const {
        std::vector<QObject*> all;
        if (combo()->lineEdit() != nullptr)
            all.push_back(combo()->lineEdit());
        if (combo()->view()->isVisible())
            all.push_back(combo()->view());
        return all;
    }
};

// The fill is only as wide as the share done; the reader gets the whole track and a value.
class ProgressAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressAccessible(ProgressFill* fill)
        : QAccessibleWidget(fill, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QStringLiteral("%1%").arg(fill()->percent());
        return QAccessibleWidget::text(t);
    }

    QRect rect() const override {
        return {fill()->mapToGlobal(QPoint(0, 0)), QSize(fill()->trackWidth(), fill()->height())};
    }

    QVariant currentValue() const override { return fill()->percent(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 0; }

private:
    ProgressFill* fill() const { return static_cast<ProgressFill*>(widget()); }
};

class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = link()->text();
        return text;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        LinkLabel* const label = link();
        emit label->clicked();
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

class DefaultButton final : public QObject {
public:
    DefaultButton(QWidget& dialog, QAbstractButton& button)
        : QObject(&button), dialog_(&dialog), button_(&button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != dialog_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!enter)
            return false;
        event->accept();
        if (!key->isAutoRepeat() && button_->isEnabled())
            button_->click();
        return true;
    }

private:
    QWidget* dialog_;
    QAbstractButton* button_;
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QComboBox"))
        return new ComboAccessible(static_cast<QComboBox*>(widget));
    if (className == QLatin1String("ProgressFill"))
        return new ProgressAccessible(static_cast<ProgressFill*>(widget));
    if (className == QLatin1String("LinkLabel"))
        return new LinkAccessible(static_cast<LinkLabel*>(widget));
    // A plain widget as a top-level window is the program's frame, not a filler.
    if (className == QLatin1String("QWidget") && widget->windowType() == Qt::Window)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

bool pointerOn(const QWidget& button, QPoint pointer) {
    return QRect(button.mapToGlobal(QPoint(0, 0)), button.size()).contains(pointer);
}

} // namespace

namespace accessibility {

void install() {
    // Factories installed later are asked first, so this one goes before Qt's own.
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}

void setDefaultButton(QWidget& dialog, QAbstractButton& button) {
    dialog.installEventFilter(new DefaultButton(dialog, button));
}

QPoint popupPlace(const QWidget& button, QPoint pointer) {
    if (pointerOn(button, pointer))
        return pointer;
    return button.mapToGlobal(QPoint(0, button.height()));
}

void popUp(QMenu& menu, const QWidget& button, std::optional<QPoint> at) {
    const QPoint pointer = QCursor::pos();
    menu.popup(at.value_or(popupPlace(button, pointer)));
    if (pointerOn(button, pointer))
        return;
    for (QAction* entry : menu.actions()) {
        if (!entry->isSeparator() && entry->isEnabled() && entry->isVisible()) {
            menu.setActiveAction(entry);
            break;
        }
    }
}

} // namespace accessibility
