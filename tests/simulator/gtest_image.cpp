// The image decoder: every image the compiler writes decodes, any other byte
// sequence gives a reason instead of a program, and never a crash.
#include "Decoder.h"
#include "Fuzz.h"
#include "ModuleLoader.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

struct FaultCase {
    const char *name;
    Bytes image;
    const char *error;
    friend void PrintTo(const FaultCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class ImageFaults : public testing::TestWithParam<FaultCase> { };

TEST_P(ImageFaults, NameWhatIsWrong)
{
    std::string error;
    EXPECT_EQ(velsim::DecodeProgram(GetParam().image, error), nullptr);
    EXPECT_EQ(error, GetParam().error);
}

const FaultCase kFaults[] = {
    {"Empty", {}, "no end record (image ends at $0000)"},
    {"LineWithoutEndRecord", {0, 1, 3, 0x9A, 0x0A}, "no end record (image ends at $0005)"},
    {"BytesAfterTheEnd", {0, 1, 2, 3, 0}, "data after the end record at $0004"},
    {"LengthPastTheEnd", {0, 1, 9, 0x9A, 0x0A, 0, 2, 2, 3}, "line record at $0000 is damaged"},
    {"NoLineEndWhereTheLengthSays", {0, 1, 4, 0x9A, 0x9A, 0x9A, 0, 2, 2, 3}, "line record at $0000 is damaged"},
    {"LineNumbersFalling", {0, 2, 3, 0x9A, 0x0A, 0, 1, 2, 3}, "line number 1 out of order"},
    {"LineNumberZero", {0, 0, 3, 0x9A, 0x0A, 0, 1, 2, 3}, "line number 0 out of order"},
    {"ByteThatIsNoToken", {0, 1, 3, 0xFF, 0x0A, 0, 2, 2, 3}, "line 1 cannot be decoded"},
    {"UnclosedString", {0, 1, 5, 0xAA, '"', 'x', 0x0A, 0, 2, 2, 3}, "line 1 cannot be decoded"},
    {"MissingOperand", {0, 1, 6, 'a', '=', '1', '+', 0x0A, 0, 2, 2, 3}, "line 1 cannot be decoded"},
    {"PortBitEight", {0, 1, 8, 0xCC, '1', '.', '8', '=', '1', 0x0A, 0, 2, 2, 3}, "line 1 cannot be decoded"},
    {"LoopWithoutDo", {0, 1, 3, 0x8C, 0x0A, 0, 2, 2, 3}, "blocks do not nest in line 1"},
    {"ForNeverClosed", {0, 1, 8, 0x85, 'a', '=', '1', 0x86, '2', 0x0A, 0, 2, 2, 3}, "blocks do not nest in line 1"},
    {"ExitOutsideALoop", {0, 1, 3, 0x8D, 0x0A, 0, 2, 2, 3}, "blocks do not nest in line 1"},
};
INSTANTIATE_TEST_SUITE_P(Bytes, ImageFaults, testing::ValuesIn(kFaults), simtest::CaseName<FaultCase>);

// A program that uses every statement, each in its fullest form.
const char kEveryStatement[] = R"(CHAR s[10], t[10]
BYTE b, a[4]
WORD w
INTEGER n
LONG l
FLOAT f
b = 1 : a = [1, 2] : s = "x" : a[1] = -b + 2 * (3 - ~b) MOD 4 AND 5 OR 6 XOR 7 << 1 >> 1
INC b : DEC a[0]
MSG = 1 : ERR = 0 : IRCODE = 2 : PWM7 = 3 : PORT9.7 = 1 : PORT0 = 4 : TIMER3 = 0 : COUNTER0 = 1
STEPPER3.SPEED = 1 : STEPPER2.STEPS = 2 : STEPPER1 = 3 : TIME.HOUR = 1 : DATE.DAY = 2 : DAY = 3 : TIME = 4
IF b = 1 THEN
ELSIF b <> 2 THEN
ELSE
ENDIF
IF b >= 1 THEN PRINT 1 : PRINT 2
IF b <= 1 GOTO done
IF b < 1 GOSUB sub
FOR n = 1 TO 10 STEP 2 : NEXT
WHILE b > 9 : WEND
DO : EXIT : LOOP
ON b GOTO done, done
ON b GOSUB sub
f = PI + RXD + KEYCODE + ADC7 + DEG(1) + RAD(1) + SIN(1) + COS(1) + TAN(1) + ATN(1) + SQR(1) + EXP(1) + LOG(1)
l = LO(1) + HI(1) + ABS(1) + INT(1) + PEEK(1) + ROUND(1) + EOF(1) + POW(1, 2) + MIN(1, 2) + MAX(1, 2) + POINT(1, 2)
l = LEN(s) + VAL(s) + VAL(s, 1) + POS(s, "x") + POS(s, "x", 1) + USR(1) + USR(1, 2, 3, 4) + CR + NL
l = STEPPER0.SPEED + STEPPER0.STEPS + TIME + TIME.MINUTE + TIME.SECOND + DATE + DATE.YEAR + DATE.MONTH + DAY
l = 3.25 + 40000 + $FFFF + %101 + "A" + PORT3.1 + MSG + ERR + IRCODE + PWM0 + TIMER0 + COUNTER3 + STEPPER3
DATA 1, "two", -3
READ b, n
RESTORE done
LOAD 1, b, w : STORE 1, b, w
WAIT b = 1 : WAIT b, 10 : WAIT b, 10, done
OPEN "f" AS #1 : OPEN "f" FOR OUTPUT AS #2 : OPEN "f" FOR APPEND AS #3
CLOSE : CLOSE #1 : FLUSH : FLUSH #1
PRINT : PRINT #1, "a", b, CR, NL, TAB(1), SPC(2), CHR(3), HEX(4), USING("##.#", f),
INPUT b : INPUT #1, "?", b, n
PUT b : PUT #1, a, 2 : GET b : GET #1, a, 2, 10
FIND "x" : FIND #1, "x", 10, done
POKE 1, 2 : SEND 1, b, n : RECV b
I2CIN 1, 2, b : I2CIN 1, , b, n : I2COUT 1, 2 : I2COUT 1, 2, b
SPISHIFT 1, 2, b
INITGSM 1 : INITGSM #1, 1, "AT", 10
SENDSMS "123", "x", b : SENDSMS #1, s, b
RECVSMS s, t : RECVSMS #1, s, t
STANDBY : SOUND 1 : SOUND 1, 2 : PAUSE 1
SETCOM 1, 2 : SETPWM 1, 2, 3 : SETPORT 1, 2 : SETPORT 1, 2, 3 : SETDRIVE 1 : SETCLOCK 1 : SETKEYPAD 1
SETSYMBOL 1, 2, 3, 4 : SETCOUNTER 1 : SETDISPLAY 1, 2 : SETNETWORK 1, 2 : SETSTEPPER 1, 2
CLS : MOVE 1, 2 : FONT 1 : COLOR 1 : COLOR 1, 2
PLOT 1, 2 : DRAW 1, 2 : DRAW 1, 2, 3 : FRAME 1, 2, 3, 4 : FRAME 1, 2, 3, 4, 5
SCROLL 1, 2, 3, 4, 5 : SCROLL 1, 2, 3, 4, 5, 6 : CIRCLE 1, 2, 3 : CIRCLE 1, 2, 3, 4, 5
PICTURE 1, 2, 3 : PICTURE 1, 2, 3, 4 : BARGRAPH 1, 2, 3, 4, 5 : BARGRAPH 1, 2, 3, 4, 5, 6
done:
END
sub:
RETURN
)";

TEST(Decoder, DecodesEveryStatementTheCompilerWrites)
{
    simtest::ScratchDir dir;
    const Bytes image = simtest::CompileImage(dir, std::string("#TARGET ZENTRA16\n") + kEveryStatement);
    ASSERT_FALSE(image.empty());
    std::string error;
    const std::unique_ptr<velsim::CProgram> program = velsim::DecodeProgram(image, error);
    ASSERT_NE(program, nullptr) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(program->m_data.size(), 3u);
}

TEST(Decoder, DecodesEveryExample)
{
    for (const char *name : {"hello", "blink", "echo", "display", "scope", "talk", "cursor"}) {
        simtest::ScratchDir dir;
        const std::string source = simtest::ReadAll(simtest::fs::path(VELMO_EXAMPLES) / (std::string(name) + ".bas"));
        const Bytes image = simtest::CompileImage(dir, source);
        std::string error;
        EXPECT_NE(velsim::DecodeProgram(image, error), nullptr) << name << ": " << error;
    }
}

TEST(Decoder, JumpToALineThatIsNotThereStopsTheProgram)
{
    // GOTO 7 in an image of one line.
    simtest::ScratchDir dir;
    const simtest::RunResult run = simtest::RunImage(dir, {0, 1, 4, 0x8F, '7', 0x0A, 0, 2, 2, 3}, "");
    EXPECT_EQ(run.output, "Error: Jump to a missing line in line 1.\r\n");
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kProgramError);
}

TEST(Decoder, JumpToTheEndRecordEndsTheProgram)
{
    simtest::ScratchDir dir;
    const simtest::RunResult run = simtest::RunImage(dir, {0, 1, 4, 0x8F, '2', 0x0A, 0, 2, 2, 3}, "");
    EXPECT_EQ(run.exit, velsim::CModule::Exit::kProgramEnded);
}

Bytes HelloImage()
{
    static const Bytes image = [] {
        simtest::ScratchDir dir;
        return simtest::CompileImage(dir, "BYTE i\nFOR i = 1 TO 3\nPRINT \"Hi \", i, CR\nNEXT");
    }();
    return image;
}

TEST(Decoder, EveryTruncatedImageIsRejected)
{
    const Bytes image = HelloImage();
    ASSERT_FALSE(image.empty());
    for (size_t size = 0; size < image.size(); ++size) {
        std::string error;
        EXPECT_EQ(velsim::DecodeProgram(Bytes(image.begin(), image.begin() + size), error), nullptr) << size;
        EXPECT_FALSE(error.empty()) << size;
    }
}

// Changed bytes give either a program or a reason, never both or neither
// (and, under the sanitizers, no fault on the way).
TEST(Decoder, ChangedBytesGiveAProgramOrAReason)
{
    const Bytes image = HelloImage();
    std::mt19937 random(16);
    for (int round = 0; round < 20000; ++round) {
        Bytes changed = image;
        for (int n = 0; n < 1 + round % 3; ++n)
            changed[random() % changed.size()] = static_cast<uint8_t>(random());
        std::string error;
        const bool decoded = velsim::DecodeProgram(changed, error) != nullptr;
        ASSERT_NE(decoded, !error.empty()) << round;
    }
}

// After any bytes an end-of-file record closes whatever download they began
// (a refused one too), and the next download is taken whole; any bytes as an
// image give a program or a reason. The fuzz entry
// points run on the same bytes.
TEST(FuzzEntryPoints, AnyBytesLeaveTheLoaderReady)
{
    std::mt19937 random(4);
    const std::string alphabet = ":0300000001020AF0:00000001FF\x01\x30\x81\x1B:10000000";
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes(random() % 600);
        for (uint8_t &b : bytes)
            b = round % 2 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(alphabet[random() % alphabet.size()]);
        velsim::FuzzHexRecords(bytes.data(), bytes.size());
        velsim::FuzzImageDecoder(bytes.data(), bytes.size());

        velsim::CLoader loader(64);
        for (uint8_t b : bytes)
            loader.Take(b);
        velsim::CLoader::Event last = velsim::CLoader::Event::kNone;
        for (const char c : std::string(":00000001FF:0100000007F8:00000001FF"))
            last = loader.Take(static_cast<uint8_t>(c));
        ASSERT_EQ(last, velsim::CLoader::Event::kComplete) << round;
        ASSERT_EQ(loader.Image(), Bytes{7}) << round;
        std::string error;
        const bool decoded = velsim::DecodeProgram(bytes, error) != nullptr;
        ASSERT_NE(decoded, !error.empty()) << round;
    }
}

} // namespace
