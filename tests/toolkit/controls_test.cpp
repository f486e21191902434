#include "tests/toolkit/window_fixture.h"

#include "assets/assets.h"
#include "platform/gbk.h"
#include "toolkit/look.h"
#include "toolkit/picture_button.h"

#include <QFontMetrics>
#include <QMouseEvent>

namespace orvane::testing {
namespace {

using enum Control;
using Look = PictureButton::Look;

int clicks = 0;
struct Press {
    int x, y, keys;
};
std::vector<Press> presses;

Form form_with_watchers()
{
    Form f = form_without_handlers();
    def_of(f, 图形按钮6).clicked = [] { ++clicks; };
    def_of(f, 图形按钮1).clicked = [] { ++clicks; };
    def_of(f, 超级链接框1).left_pressed = [](int x, int y, int keys) { presses.push_back({x, y, keys}); };
    return f;
}

class ControlsTest : public WindowTest {
protected:
    ControlsTest() : WindowTest(form_with_watchers())
    {
        clicks = 0;
        presses.clear();
    }

    PictureButton* button(Control c) const { return static_cast<PictureButton*>(widget(c)); }

    // Sends a mouse event straight to w, as the window system does while w holds the mouse.
    static void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held,
                     Qt::MouseButton button = Qt::NoButton)
    {
        QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
    static void press(QWidget* w, QPoint at) { send(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    static void release(QWidget* w, QPoint at) { send(w, QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton); }
    static void move(QWidget* w, QPoint at, Qt::MouseButtons held = Qt::NoButton) { send(w, QEvent::MouseMove, at, held); }

    static QImage picture(std::string_view bytes) { return picture_from_bytes(bytes).toImage(); }
    static QImage shown(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

const QPoint inside{5, 5};
const QPoint outside{-20, 5};

TEST_F(ControlsTest, HoverShowsTheHotLookUntilTheMouseLeaves)
{
    move(button(图形按钮6), inside);
    EXPECT_EQ(button(图形按钮6)->look(), Look::hot);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button(图形按钮6), &leave);
    EXPECT_EQ(button(图形按钮6)->look(), Look::at_rest);
}

TEST_F(ControlsTest, PressMoveOutAndReleaseOutsideRaisesNoClick)
{
    PictureButton* b = button(图形按钮1);
    press(b, inside);
    EXPECT_EQ(b->look(), Look::pressed);
    move(b, outside, Qt::LeftButton);
    EXPECT_EQ(b->look(), Look::at_rest);
    move(b, inside, Qt::LeftButton);
    EXPECT_EQ(b->look(), Look::pressed);
    move(b, outside, Qt::LeftButton);
    release(b, outside);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->look(), Look::at_rest);
}

TEST_F(ControlsTest, ClickLeavesTheButtonAtRestUntilTheMouseMoves)
{
    PictureButton* b = button(图形按钮6);
    move(b, inside);
    press(b, inside);
    release(b, inside);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->look(), Look::at_rest);
    EXPECT_EQ(shown(b), picture(assets::test_normal).convertToFormat(QImage::Format_RGB32));
    move(b, {6, 5});
    EXPECT_EQ(b->look(), Look::hot);
    EXPECT_EQ(shown(b), picture(assets::test_hot).convertToFormat(QImage::Format_RGB32));
}

TEST_F(ControlsTest, MissingPicturesFallBackToTheNormalOne)
{
    PictureButton* b = button(图形按钮1); // has no pressed picture
    press(b, inside);
    EXPECT_EQ(shown(b), picture(assets::box_unticked_normal).convertToFormat(QImage::Format_RGB32));
}

TEST_F(ControlsTest, UncoveredPartsOfAButtonAreBlack)
{
    QImage empty = shown(button(图形按钮5));
    EXPECT_EQ(empty.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(empty.pixelColor(79, 25), QColor(Qt::black));
    write_bytes(图形按钮5, Property::normal_picture, assets::box_ticked_normal); // 16 x 16
    QImage partly = shown(button(图形按钮5));
    EXPECT_NE(partly.pixelColor(8, 8), QColor(Qt::black));
    EXPECT_EQ(partly.pixelColor(40, 20), QColor(Qt::black));
}

// Counts the presses that reach the window itself, which drags it.
struct DragCounter : QObject {
    int drags = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        drags += event->type() == QEvent::MouseButtonPress;
        return false;
    }
};

TEST_F(ControlsTest, PressesOnBackgroundLabelsAndPictureBoxesDragTheWindow)
{
    struct Case {
        Control control;
        bool drags;
    };
    const Case cases[] = {
        {标签2, true}, {标签6, true}, {图片框2, true}, {图片框1, true},
        {编辑框1, false}, {图形按钮6, false}, {透明标签1, false}, {超级链接框1, false},
    };
    show_window();
    DragCounter counter;
    window.installEventFilter(&counter);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.control));
        const int before = counter.drags;
        QTest::mousePress(widget(c.control), Qt::LeftButton, {}, {3, 3});
        QTest::mouseRelease(widget(c.control), Qt::LeftButton, {}, {3, 3});
        EXPECT_EQ(counter.drags - before, c.drags ? 1 : 0);
    }
    const int before = counter.drags;
    QTest::mousePress(&window, Qt::LeftButton, {}, {380, 100});
    EXPECT_EQ(counter.drags - before, 1);
}

TEST_F(ControlsTest, HyperlinkReportsThePlaceAndKeysOfTheLeftPress)
{
    show_window();
    QTest::mousePress(widget(超级链接框1), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, {7, 9});
    QTest::mousePress(widget(超级链接框1), Qt::RightButton, {}, {7, 9});
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].x, 7);
    EXPECT_EQ(presses[0].y, 9);
    EXPECT_EQ(presses[0].keys, 3);
    EXPECT_EQ(widget(超级链接框1)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ControlsTest, LabelsFillTheirBackgroundTransparentLabelsDoNot)
{
    const QColor window_colour(0x2D, 0x2D, 0x30);
    write_bytes(透明标签1, Property::text, "");
    QImage window_image = window.grab().toImage();
    const QRect under = widget(透明标签1)->geometry();
    EXPECT_EQ(window_image.pixelColor(under.center()), window_colour);

    write_bytes(透明标签2, Property::text, to_gbk("已监控：0天0时0分1秒"));
    write_int(透明标签2, Property::visible, 1);
    // The edit box beneath shows through around the text: its frame is still drawn.
    QImage over_edit = window.grab().toImage();
    const QRect edit = widget(编辑框1)->geometry();
    EXPECT_EQ(over_edit.pixelColor(edit.right(), edit.center().y()), QColor(0x64, 0x64, 0x64));

    QImage title = shown(widget(标签2));
    EXPECT_EQ(title.pixelColor(title.width() - 1, 0), window_colour);
}

TEST_F(ControlsTest, TextsDrawInAChineseFont)
{
    for (Control c : {标签2, 标签6, 标签4, 透明标签1, 编辑框1}) {
        SCOPED_TRACE(int(c));
        EXPECT_TRUE(QFontMetrics(widget(c)->font()).inFont(QChar(0x670D))); // 服
    }
    EXPECT_EQ(widget(标签2)->font().pixelSize(), 32);
    EXPECT_EQ(widget(标签3)->font().pixelSize(), 14);
}

}
}
