// The input component: Qt keys through the key table, a fake joystick through the joystick rules,
// and an empty state set while the application is in the background.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWidget>

#include "device/qt/DXInput.h"
#include "device/qt/KeyMapping.h"
#include "device/qt/QtTestApplication.h"

namespace grottix {
namespace {

class TFakeJoystick : public TJoystickSource {
public:
    bool present = true;
    TJoystickReading reading;
    int opened = 0;

    bool Open(int id) override {
        ++opened;
        return present && id == 0;
    }
    void Close() override {}
    bool Read(TJoystickReading& out) override {
        out = reading;
        return present;
    }
};

TKeyAssignList viewerKeys() {
    TKeyAssignList keys{};
    keys[InputUp] = {38, 104, 0};
    keys[InputLeft] = {37, 100, 0};
    keys[InputButton1] = {105, 0, 0};
    keys[InputButton3] = {107, 0, 0};
    keys[InputButton5] = {16, 0, 0};
    return keys;
}

class DXInputTest : public ::testing::Test {
protected:
    DXInputTest() {
        test::TestApplication();
        input_.Keyboard.KeyAssigns = viewerKeys();
        input_.SetForegroundQuery([this] { return foreground_; });
        auto joystick = std::make_unique<TFakeJoystick>();
        joystick_ = joystick.get();
        input_.Joystick.SetSource(std::move(joystick));
        joystick_->present = false;
    }

    void key(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scanCode = 0) {
        QKeyEvent event(type, qtKey, modifiers, scanCode, 0, 0);
        QCoreApplication::sendEvent(&target_, &event);
    }
    TDXInputStates update() {
        input_.Update();
        return input_.States();
    }

    bool foreground_ = true;
    QWidget target_;
    TDXInput input_;
    TFakeJoystick* joystick_ = nullptr;
};

TEST_F(DXInputTest, ArrowKeysAndTheirKeypadTwinsSetTheSameStateButStayApart) {
    key(QEvent::KeyPress, Qt::Key_Up);
    EXPECT_TRUE(update().Contains(InputUp));
    EXPECT_TRUE(input_.Keyboard.Keys(38));
    EXPECT_FALSE(input_.Keyboard.Keys(104));
    key(QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_TRUE(update().Empty());
    key(QEvent::KeyPress, Qt::Key_Up, Qt::KeypadModifier);  // keypad 8 with Num Lock off
    EXPECT_TRUE(input_.Keyboard.Keys(104));
    EXPECT_FALSE(input_.Keyboard.Keys(38));
    EXPECT_TRUE(update().Contains(InputUp));
}

TEST_F(DXInputTest, KeypadKeysSetTheirStatesWhateverTheNumLockState) {
    key(QEvent::KeyPress, Qt::Key_9, Qt::KeypadModifier);
    EXPECT_TRUE(update().Contains(InputButton1));
    key(QEvent::KeyRelease, Qt::Key_9, Qt::KeypadModifier);
    key(QEvent::KeyPress, Qt::Key_PageUp, Qt::KeypadModifier);
    EXPECT_TRUE(update().Contains(InputButton1));
    key(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(update().Contains(InputButton3));
    key(QEvent::KeyPress, Qt::Key_PageUp);
    key(QEvent::KeyRelease, Qt::Key_PageUp, Qt::KeypadModifier);
    key(QEvent::KeyRelease, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(input_.Keyboard.Keys(33)) << "the main Page Up is another key";
    EXPECT_TRUE(update().Empty());
}

TEST_F(DXInputTest, AKeyIsReleasedUnderTheCodeItWasPressedWith) {
    key(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, 10);
    key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 50);
    EXPECT_TRUE(update().Contains(InputButton5));
    key(QEvent::KeyRelease, Qt::Key_Exclam, Qt::ShiftModifier, 10);
    EXPECT_FALSE(input_.Keyboard.Keys('1'));
    key(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, 50);
    EXPECT_TRUE(update().Empty());
}

TEST_F(DXInputTest, RepeatedPressesOfAHeldKeyChangeNothing) {
    key(QEvent::KeyPress, Qt::Key_Left);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&target_, &repeatRelease);
    EXPECT_TRUE(update().Contains(InputLeft));
}

TEST_F(DXInputTest, TheStateSetIsEmptyWhileTheApplicationIsInTheBackground) {
    key(QEvent::KeyPress, Qt::Key_Up);
    joystick_->present = true;
    joystick_->reading.x = -32767;
    foreground_ = false;
    EXPECT_TRUE(update().Empty());
    foreground_ = true;
    const TDXInputStates states = update();
    EXPECT_TRUE(states.Contains(InputUp));
    EXPECT_TRUE(states.Contains(InputLeft));
}

TEST_F(DXInputTest, ADisabledOrUnboundDeviceContributesNothing) {
    key(QEvent::KeyPress, Qt::Key_Up);
    input_.Keyboard.BindInputStates = false;
    EXPECT_TRUE(update().Empty());
    input_.Keyboard.BindInputStates = true;
    input_.Keyboard.Enabled = false;
    EXPECT_TRUE(update().Empty());
    input_.Mouse.Enabled = false;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target_, &press);
    EXPECT_TRUE(update().Empty());
}

TEST_F(DXInputTest, TheJoystickIsScaledIntoItsRangeAndDeadZone) {
    joystick_->present = true;
    joystick_->reading = {30000, -10000, 0, (1u << 4) | (1u << 31)};
    const TDXInputStates states = update();
    EXPECT_EQ(input_.Joystick.X(), 831);
    EXPECT_EQ(input_.Joystick.Y(), 0) << "inside the dead zone of 50";
    EXPECT_TRUE(states.Contains(InputRight));
    EXPECT_FALSE(states.Contains(InputUp));
    EXPECT_TRUE(states.Contains(InputButton5));
    EXPECT_TRUE(states.Contains(InputButton32));
}

TEST_F(DXInputTest, WithoutAJoystickTheKeyboardWorks) {
    key(QEvent::KeyPress, Qt::Key_Up);
    EXPECT_TRUE(update().Contains(InputUp));
    EXPECT_FALSE(input_.Joystick.Present());
}

TEST_F(DXInputTest, AJoystickThatGoesAwayLeavesNoStateBehind) {
    auto joystick = std::make_unique<TFakeJoystick>();
    TFakeJoystick& fake = *joystick;
    input_.Joystick.SetSource(std::move(joystick));
    fake.reading.x = -32767;
    EXPECT_TRUE(update().Contains(InputLeft));
    fake.present = false;
    EXPECT_TRUE(update().Empty());
    EXPECT_FALSE(input_.Joystick.Present());
}

TEST_F(DXInputTest, AMissingJoystickIsLookedForAgainOnlyEveryFewSeconds) {
    for (int i = 0; i < 5; ++i) update();
    EXPECT_EQ(joystick_->opened, 1);
}

TEST(KeyMapping, QtKeysBecomeTheVirtualKeyCodesOfTheKeyTable) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Left, Qt::NoModifier), 37);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Down, Qt::NoModifier), 40);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Shift, Qt::ShiftModifier), 16);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_A, Qt::NoModifier), 'A');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_5, Qt::NoModifier), '5');
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F1, Qt::NoModifier), 112);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, Qt::NoModifier), 189);
    for (int digit = 0; digit <= 9; ++digit) EXPECT_EQ(VirtualKeyOf(Qt::Key_0 + digit, Qt::KeypadModifier), 96 + digit);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Down, Qt::KeypadModifier), 98);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Left, Qt::KeypadModifier), 100);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Right, Qt::KeypadModifier), 102);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown, Qt::NoModifier), 0);
    EXPECT_EQ(VirtualKeyOf(0x1234567, Qt::KeypadModifier), 0);
}

}  // namespace
}  // namespace grottix
