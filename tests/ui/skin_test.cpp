#include "app/files/file_list.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_options.h"
#include "gui/window/skin.h"
#include "gui/window/skin_captions.h"
#include "gui/window/widgets.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTest>
#include <QTranslator>

namespace {

// Every label of the window shows its whole text: the hints, a full progress caption.
void expectTextsFit(frmMain& frm) {
    frm.lblPB()->setText("100%");
    for (const QString& hint : {FileList::idleHintText(), FileList::searchingHintText()}) {
        frm.fileList()->ShowDropHint(hint);
        for (QLabel* label : std::initializer_list<QLabel*>{
                 frm.lblText(), frm.lblFeed(), frm.lblWeb(), frm.lblVersion(), frm.lblPB()})
            EXPECT_TRUE(skin::fits(label->font(), label->text(), label->size()))
                << label->text().toStdString();
    }
}

// Every word of the skin in the language loaded, at no more than the allowed shrink.
void expectCaptionsFit(frmMain& main, frmOptions& options) {
    const auto expectFits = [](QFont f, const QString& text, QSize box) {
        f.setPixelSize(f.pixelSize() - skin::kMostCaptionShrink);
        EXPECT_TRUE(skin::fits(f, text, box)) << text.toStdString() << " in " << box.width();
    };
    std::vector<skin::Caption> captions = skin::mainCaptions();
    for (const skin::Caption& c : skin::optionsCaptions())
        captions.push_back(c);
    for (const skin::Caption& c : captions)
        expectFits(c.font, QCoreApplication::translate("Skin", c.text), c.box.size());
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &options}) {
        for (const ButtonCaption* b : window->findChildren<ButtonCaption*>()) {
            expectFits(b->caption().font, b->text(), b->size());
            if (b->caption().litInk.isValid())
                expectFits(b->caption().litFont, b->text(), b->size());
        }
    }
    for (bool stop : {false, true}) {
        const skin::Caption convert = skin::convertCaption(stop);
        expectFits(convert.font, ConvertCaption::text(stop), convert.box.size());
    }
}

// The windows in each language the program ships, its translations loaded as it loads them.
class SkinInEachLanguage : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (QLatin1String(GetParam()) == QLatin1String("en"))
            return;
        ASSERT_TRUE(translator_.load(QStringLiteral("pelkora_%1").arg(QLatin1String(GetParam())),
                                     QStringLiteral(PELKORA_PROGRAM_DIR "/translations")));
        QCoreApplication::installTranslator(&translator_);
    }
    void TearDown() override { QCoreApplication::removeTranslator(&translator_); }

    QTranslator translator_;
};

} // namespace

TEST_P(SkinInEachLanguage, EveryTextFitsItsBox) {
    FileList list;
    frmMain main(list);
    frmOptions options;
    expectTextsFit(main);
    expectCaptionsFit(main, options);
}

INSTANTIATE_TEST_SUITE_P(Languages, SkinInEachLanguage, testing::Values("en", "de", "fr", "es"),
                         [](const auto& info) { return std::string(info.param); });

TEST(SkinnedWindows, TranslucentOutsideARoundedShapeThatClipsNoControlAndTextsFit) {
    FileList list;
    frmMain main(list);
    frmOptions options;
    EXPECT_TRUE(options.isModal());
    expectTextsFit(main);
    // Also where the wider regular face stands in for the narrow one.
    main.lblText()->setPreferredFont(skin::font(12, true));
    main.lblFeed()->setPreferredFont(skin::font(11));
    expectTextsFit(main);
    for (QWidget* w : std::initializer_list<QWidget*>{&main, &options}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(w->testAttribute(Qt::WA_TranslucentBackground));
        EXPECT_EQ(w->minimumSize(), w->maximumSize());
        const QRect r = w->rect();
        const QRegion shape = shapeRegion(skin::windowOutline(w->size()), w->size());
        for (QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            EXPECT_FALSE(shape.contains(corner)) << "the rounded corners let clicks through";
        for (QPoint edge : {QPoint(r.center().x(), 0), QPoint(0, r.center().y()),
                            QPoint(r.right(), r.center().y()), QPoint(r.center().x(), r.bottom())})
            EXPECT_TRUE(shape.contains(edge)) << "the outline is part of the window";
        for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!c->isVisibleTo(w) || c->inherits("QMenu"))
                continue;
            EXPECT_EQ(shape.intersected(c->geometry()), QRegion(c->geometry()))
                << c->accessibleName().toStdString();
        }
    }
}

TEST(SkinArt, TransparentCornersAndAnAntialiasedOutlineAtEveryScale) {
    for (qreal dpr : {1.0, 1.25, 2.0}) {
        for (const QImage& art : {skin::mainBackground(dpr), skin::optionsBackground(dpr)}) {
            SCOPED_TRACE(dpr);
            EXPECT_EQ(qAlpha(art.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(art.pixel(art.width() / 2, art.height() / 2)), 255);
            // The diagonal from the corner crosses the rounded outline on a blended pixel.
            int blended = 0;
            for (int i = 0; i < 10 * dpr; ++i)
                blended += qAlpha(art.pixel(i, i)) > 0 && qAlpha(art.pixel(i, i)) < 255;
            EXPECT_GT(blended, 0);
        }
    }
}

TEST(SkinGlyphs, EveryGlyphIsDrawnInTheGivenInkAndTheLogoInItsOwnColours) {
    const QColor ink(0xc0, 0x10, 0x20);
    for (int g = 0; g < skin::kGlyphCount; ++g) {
        QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::transparent);
        QPainter p(&image);
        skin::drawGlyph(p, static_cast<skin::Glyph>(g), QRectF(0, 0, 24, 24), ink);
        p.end();
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        const auto* end = pixels + image.width() * image.height();
        EXPECT_TRUE(std::any_of(pixels, end, [](QRgb c) { return qAlpha(c) == 255; })) << g;
        EXPECT_EQ(std::find(pixels, end, ink.rgba()) != end, g != int(skin::Glyph::Logo)) << g;
    }
}

TEST(SkinStyleSheet, EveryColourNameResolvesToThePalette) {
    EXPECT_FALSE(skin::controlStyleSheet().contains('@')) << "a name missing from the palette";
}

TEST(FitLabel, ShrinksOnlyAsFarAsTheTextNeedsAndCatchesTextsSetBehindItsBack) {
    const QFont wide = skin::font(12, true);
    FitLabel label;
    label.setGeometry(100, 100, 60, 16);
    label.setPreferredFont(wide);
    label.setText("Short");
    EXPECT_EQ(label.font().pixelSize(), wide.pixelSize());
    label.setText("A much longer caption");
    const int shrunk = label.font().pixelSize();
    EXPECT_TRUE(skin::fits(label.font(), label.text(), label.size()));
    QFont oneMore = label.font();
    oneMore.setPixelSize(shrunk + 1);
    EXPECT_FALSE(skin::fits(oneMore, label.text(), label.size())) << "no smaller than needed";

    // Through the plain label's setText, the next paint fits it.
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    static_cast<QLabel&>(label).setText("Short again");
    label.repaint();
    EXPECT_GT(label.font().pixelSize(), shrunk);
}
