// Length units, money formatting and reading, the currency choice.
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"

#include <QDesktopServices>
#include <QLocale>
#include <QObject>
#include <QUrl>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using namespace CommonMod;

namespace {

const QString kPound = QString(QChar(0x00A3));
const QString kEuro = QString(QChar(0x20AC));

// Restores the locale and the unit and money state after each test.
class Money : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = G;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        G.UnitIndex = saved_.UnitIndex;
        G.UnitFactor = saved_.UnitFactor;
        G.UnitScaleMode = saved_.UnitScaleMode;
        G.CurrencySymbol = saved_.CurrencySymbol;
        G.CurrencyRate = saved_.CurrencyRate;
        G.CurrencyTable = saved_.CurrencyTable;
        LangMod::MessageTexts = {};
    }
    static void Portuguese() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    SceneState saved_;
};

class PictureRecorder : public WindowPort {
public:
    std::vector<std::pair<int, int>> calls;
    void SetCurrencyPictures(int budgetImage, int priceImage) override { calls.emplace_back(budgetImage, priceImage); }
};

}  // namespace

TEST_F(Money, LengthUnitsSetFactorModeAndLabel)
{
    LangMod::ReadLanguageText("language [\r\nlang_inches;inches\r\nlang_metres;metres\r\n]\r\n", QStringLiteral("msg"),
                              LangMod::MessageTexts);
    EXPECT_EQ(SetLengthUnit(5), QStringLiteral(" inches"));
    EXPECT_EQ(G.UnitIndex, 5);
    EXPECT_EQ(G.UnitFactor, 1);
    EXPECT_EQ(G.UnitScaleMode, 5.0f);
    EXPECT_EQ(SetLengthUnit(7), QStringLiteral(" lang_miles"));  // no text: the key shows
    EXPECT_EQ(G.UnitFactor, 63360);
    EXPECT_EQ(SetLengthUnit(0), QStringLiteral(" metres"));
    EXPECT_EQ(G.UnitFactor, 1000);
    EXPECT_EQ(G.UnitScaleMode, 6.0f);
    // Outside the table only the index moves.
    for (int16_t unit : {int16_t(8), int16_t(-1)}) {
        EXPECT_EQ(SetLengthUnit(unit), QString());
        EXPECT_EQ(G.UnitIndex, unit);
        EXPECT_EQ(G.UnitFactor, 1000);
        EXPECT_EQ(G.UnitScaleMode, 6.0f);
    }
}

TEST_F(Money, LengthConversions)
{
    EXPECT_FLOAT_EQ(ScaleToMillimetres(3, kScaleInches, 12), 914.4f);
    EXPECT_FLOAT_EQ(ScaleFromMillimetres(914.4f, kScaleInches, 12), 3.0f);
    EXPECT_FLOAT_EQ(ScaleToMillimetres(2.5f, kScaleMillimetres, 1000), 2500.0f);
    EXPECT_FLOAT_EQ(ScaleFromMillimetres(2500, kScaleMillimetres, 10), 250.0f);
    EXPECT_FLOAT_EQ(ScaleToMillimetres(1, kScaleInches, 63360), 1609344.0f);
    EXPECT_FLOAT_EQ(ScaleToMillimetres(1.5f, kScaleMillimetres, 1000000), 1500000.0f);
    EXPECT_FLOAT_EQ(ScaleFromMillimetres(914.4f, kScaleInches, 36), 1.0f);
    // Every unit goes there and back.
    for (const LengthUnit& u : LengthUnitTable)
        EXPECT_FLOAT_EQ(ScaleFromMillimetres(ScaleToMillimetres(4.25f, u.ScaleMode, u.Factor), u.ScaleMode, u.Factor),
                        4.25f)
            << u.LabelKey;
}

TEST_F(Money, FormatMoneyInEnglish)
{
    G.CurrencySymbol = kPound;
    G.CurrencyRate = 1.0f;
    EXPECT_EQ(FormatMoney(-3, 1), QStringLiteral("- ") + kPound + QStringLiteral("3.00"));
    EXPECT_EQ(FormatMoney(0, 1), kPound + QStringLiteral("0.00"));
    EXPECT_EQ(FormatMoney(-0.5f, 1), QStringLiteral("- ") + kPound + QStringLiteral("0.50"));
    EXPECT_EQ(FormatMoney(-0.5f, 0), QStringLiteral("- 0.50"));
    EXPECT_EQ(FormatMoney(1234567.5f, 0), QStringLiteral("1234567.50"));  // no thousands separator
    // Halves go away from zero, on either side.
    EXPECT_EQ(FormatMoney(0.125f, 0), QStringLiteral("0.13"));
    EXPECT_EQ(FormatMoney(-0.125f, 1), QStringLiteral("- ") + kPound + QStringLiteral("0.13"));
    EXPECT_EQ(FormatMoney(0.375f, 0), QStringLiteral("0.38"));
    EXPECT_EQ(FormatMoney(2.675f, 0), QStringLiteral("2.68"));  // as written, not as stored (2.67499...)
    EXPECT_EQ(FormatMoney(0.004f, 0), QStringLiteral("0.00"));
    // What is left of prices added and taken away again is no debt.
    EXPECT_EQ(FormatMoney(-3.87e-7f, 1), kPound + QStringLiteral("0.00"));
    EXPECT_EQ(FormatMoney(3e9f, 0), QStringLiteral("3000000000.00"));
    G.CurrencyRate = 2.0f;
    EXPECT_EQ(FormatMoney(1.25f, 1), kPound + QStringLiteral("2.50"));
    EXPECT_EQ(FormatMoney(-10.125f, 1), QStringLiteral("- ") + kPound + QStringLiteral("20.25"));
    EXPECT_FLOAT_EQ(ToDisplayCurrency(-4.5f), -9.0f);
}

TEST_F(Money, FormatMoneyUsesTheLocaleSeparator)
{
    Portuguese();
    G.CurrencySymbol = QStringLiteral("R$");
    G.CurrencyRate = 1.0f;
    EXPECT_EQ(FormatMoney(-1234.56f, 1), QStringLiteral("- R$1234,56"));
    EXPECT_EQ(FormatMoney(0, 1), QStringLiteral("R$0,00"));
    EXPECT_EQ(FormatMoney(0.125f, 1), QStringLiteral("R$0,13"));
    G.CurrencyRate = 0.5f;
    EXPECT_EQ(FormatMoney(7, 0), QStringLiteral("3,50"));
}

TEST_F(Money, ParseMoneyTextAsTyped)
{
    G.CurrencySymbol = kPound;
    G.CurrencyRate = 1.0f;
    EXPECT_EQ(ParseMoneyText(QString()), 0.0f);
    EXPECT_EQ(ParseMoneyText(kPound), 0.0f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("abc")), 0.0f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("--5")), 0.0f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("-.5")), -0.5f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("1") + QString(400, QLatin1Char('0'))), 0.0f);
    G.CurrencyRate = 2.0f;
    EXPECT_EQ(ParseMoneyText(QStringLiteral("12.50")), 6.25f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("- ") + kPound + QStringLiteral("3.00")), -1.5f);
    // A symbol holding a point does not become a decimal point.
    G.CurrencySymbol = QStringLiteral("Fr.");
    G.CurrencyRate = 1.0f;
    EXPECT_EQ(ParseMoneyText(QStringLiteral("Fr.12.50")), 12.5f);
    // A zero rate never turns an amount into infinity.
    G.CurrencyRate = 0.0f;
    EXPECT_EQ(ParseMoneyText(QStringLiteral("5")), 5.0f);
}

TEST_F(Money, ParseMoneyTextInAPortugueseLocale)
{
    Portuguese();
    G.CurrencySymbol = QStringLiteral("R$");
    G.CurrencyRate = 1.0f;
    EXPECT_EQ(ParseMoneyText(QStringLiteral("12,50")), 12.5f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("- R$0,75")), -0.75f);
    EXPECT_EQ(ParseMoneyText(QStringLiteral("12.50")), 12.5f);  // a point still reads as one
}

TEST_F(Money, TypedAmountsReadAsTheChildMeantThemOrNotAtAll)
{
    G.CurrencySymbol = kPound;
    G.CurrencyRate = 1.0f;
    // Thousands separators as the desktop writes them.
    EXPECT_EQ(ReadMoneyText(QStringLiteral("1,000")), 1000.0f);
    EXPECT_EQ(ReadMoneyText(kPound + QStringLiteral("1,250.50")), 1250.5f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral("-1,000,000")), -1000000.0f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral("1000.5")), 1000.5f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral(" 12.50 ") + kPound), 12.5f);
    EXPECT_EQ(ReadMoneyText(kPound + QStringLiteral("-5.00")), -5.0f);  // as the budget window writes it
    EXPECT_EQ(ReadMoneyText(QStringLiteral("+5")), 5.0f);
    // What could mean two amounts, or none, is no amount at all; so is a
    // number with anything but its own marks, which are never passed over.
    const QString tooMuch = QStringLiteral("1") + QString(50, QLatin1Char('0'));
    for (const QString& text :
         {QStringLiteral("1,5"), QStringLiteral("12,50"), QStringLiteral("1.250,50"), QStringLiteral("1.2.3"),
          QStringLiteral("1,00,0"), tooMuch, QStringLiteral("free"), QString(), kPound, QStringLiteral("1e7"),
          QStringLiteral("1.234568e+07"), QStringLiteral("12-"), QStringLiteral(" 7 apples"), QStringLiteral("1 000"),
          QStringLiteral("+-5"), QStringLiteral("- -5"), QStringLiteral("1") + kPound + QStringLiteral("5")})
        EXPECT_EQ(ReadMoneyText(text), std::nullopt) << text.toStdString();
    EXPECT_EQ(ParseMoneyText(QStringLiteral("1,5")), 0.0f);

    Portuguese();
    G.CurrencySymbol = QStringLiteral("R$");
    G.CurrencyRate = 2.0f;
    EXPECT_EQ(ReadMoneyText(QStringLiteral("1.250,50")), 625.25f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral("R$ 1.000.000")), 500000.0f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral("1,5")), 0.75f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral("2500")), 1250.0f);  // as the place information proposes it
    EXPECT_EQ(ReadMoneyText(QStringLiteral("12.5")), 6.25f);
    EXPECT_EQ(ReadMoneyText(QStringLiteral("1.000")), 500.0f);  // mil
    EXPECT_EQ(ReadMoneyText(QStringLiteral("1,000.50")), std::nullopt);
}

TEST_F(Money, EveryAmountUpToTheLargestComesBackToTheCent)
{
    // Kept in the base currency and shown times the rate, both as Singles:
    // the cents just below the largest amount come back at any rate, and
    // more is refused by its message.
    LangMod::ReadLanguageText("language [\r\nlang_LargestAmount;At most %.\r\n]\r\n", QStringLiteral("msg"),
                              LangMod::MessageTexts);
    G.CurrencySymbol = kPound;
    const int64_t largest = std::llround(kLargestAmount * 100);
    for (float rate : {1.0f, 1.17f, 1.27f, 7.3f, 0.3f, 123.456f}) {
        G.CurrencyRate = rate;
        int wrong = 0;
        for (int64_t cents = largest - 20000; cents <= largest; ++cents) {
            const QString typed = QString::number(cents / 100) + QLatin1Char('.') +
                                  QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
            if (FormatMoney(ParseMoneyText(typed), 0) != typed) ++wrong;
        }
        EXPECT_EQ(wrong, 0) << "rate " << rate;
        EXPECT_EQ(TypedAmountFault(QStringLiteral("40000")), QString());
        EXPECT_EQ(TypedAmountFault(QStringLiteral("40000.01")), QStringLiteral("At most 40000.00."));
    }
}

TEST_F(Money, SavedAmountsComeBackInEveryLocale)
{
    const std::vector<std::pair<float, float>> cases = {
        {1500.75f, 1.0f}, {-3.0f, 1.0f}, {-0.5f, 1.0f}, {0.0f, 1.0f}, {99.99f, 1.0f},
        {12.5f, 2.0f},    {-12.5f, 2.0f}, {250.0f, 0.5f}, {-7.25f, 4.0f}, {1.1f, 1.0f}};
    for (bool portuguese : {false, true}) {
        if (portuguese) Portuguese();
        for (const QString& symbol : {kEuro, QString(), QStringLiteral("R$")}) {
            G.CurrencySymbol = symbol;
            for (const auto& [amount, rate] : cases) {
                G.CurrencyRate = rate;
                for (int16_t withSymbol : {int16_t(0), int16_t(1)}) {
                    const QString shown = FormatMoney(amount, withSymbol);
                    EXPECT_FLOAT_EQ(ParseMoneyText(shown), amount)
                        << shown.toStdString() << " rate " << rate << (portuguese ? " pt" : " en");
                }
            }
        }
    }
}

TEST_F(Money, SetCurrencyTakesTheRateAndPictures)
{
    PictureRecorder windows;
    SetWindows(&windows);
    G.CurrencySymbol = QString();
    G.CurrencyRate = 1.0f;
    G.CurrencyTable = {NamedAmount{},
                       NamedAmount{kPound, 0.8f},
                       NamedAmount{kEuro, 0.9f},
                       NamedAmount{kPound, 0.75f},
                       NamedAmount{QStringLiteral("R$"), 0.0f},
                       NamedAmount{QStringLiteral("Fr"), std::numeric_limits<float>::quiet_NaN()}};

    SetCurrency(kPound);
    EXPECT_EQ(G.CurrencySymbol, kPound);
    EXPECT_EQ(G.CurrencyRate, 0.75f);  // the last match wins
    G.CurrencyRate = 3.0f;
    SetCurrency(kPound);               // the current symbol changes nothing
    EXPECT_EQ(G.CurrencyRate, 3.0f);
    SetCurrency(kEuro);
    EXPECT_EQ(G.CurrencyRate, 0.9f);
    SetCurrency(QStringLiteral("$"));
    EXPECT_EQ(G.CurrencyRate, 1.0f);
    SetCurrency(QStringLiteral("R$"));  // a zero rate is not taken
    EXPECT_EQ(G.CurrencyRate, 1.0f);
    SetCurrency(QStringLiteral("Fr"));
    EXPECT_EQ(G.CurrencyRate, 1.0f);
    SetCurrency(QStringLiteral("fr"));  // names compare exactly
    EXPECT_EQ(G.CurrencySymbol, QStringLiteral("fr"));
    SetWindows(nullptr);

    const std::vector<std::pair<int, int>> expected = {{27, 3}, {26, 2}, {25, 1}, {25, 1}, {25, 1}, {25, 1}};
    EXPECT_EQ(windows.calls, expected);
}

namespace {
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};
}  // namespace

TEST(Shell, OpensAddressesWithTheDesktopHandler)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("dorvtest"), &catcher, "open");
    EXPECT_EQ(OpenWithShell(QStringLiteral("dorvtest://example/clicked.asp?from=a&param=w")), 1);
    EXPECT_EQ(OpenWithShell(QString()), 0);
    QDesktopServices::unsetUrlHandler(QStringLiteral("dorvtest"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl(QStringLiteral("dorvtest://example/clicked.asp?from=a&param=w")));
}

#include "test_money.moc"
