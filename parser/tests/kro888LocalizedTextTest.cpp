#include "foundation/Cards.h"
#include "parser/strategies/LocalizedHandText.h"

#include <gtest/gtest.h>

using namespace kroHandParser;

namespace {

int32_t Cents(const std::wstring& text)
{
    const auto amount = ReadLocalizedAmount(text);
    return amount ? amount->cents : -1;
}

std::wstring Cards(const std::wstring& text)
{
    std::vector<int> cards;
    CardsFromText(NormaliseCardNames(text), cards);
    return CardsToText(cards);
}

}  // namespace

TEST(kro888LocalizedTextTest, AmountsOfEveryClientLanguage)
{
    EXPECT_EQ(Cents(L"$0.02"), 2);
    EXPECT_EQ(Cents(L"$3,000"), 300000);
    EXPECT_EQ(Cents(L"$12,667.75"), 1266775);
    EXPECT_EQ(Cents(L"0,01\u00A0$"), 1);
    EXPECT_EQ(Cents(L"222,75$"), 22275);
    EXPECT_EQ(Cents(L"$ 3.243"), 324300);
    EXPECT_EQ(Cents(L"$ 552,72"), 55272);
    EXPECT_EQ(Cents(L"15 788,50 $"), 1578850);
    EXPECT_EQ(Cents(L"2\u00A0250 $"), 225000);
    EXPECT_EQ(Cents(L" 9,966.25 "), 996625);
    EXPECT_EQ(Cents(L"1.5"), 150);
    EXPECT_EQ(Cents(L"\u20AC7"), 700);
    EXPECT_EQ(ReadLocalizedAmount(L"\u20AC7")->symbol, L'\u20AC');
    EXPECT_EQ(ReadLocalizedAmount(L"40")->symbol, 0);
}

TEST(kro888LocalizedTextTest, WhatIsNoAmountIsRejected)
{
    EXPECT_EQ(Cents(L""), -1);
    EXPECT_EQ(Cents(L"$"), -1);
    EXPECT_EQ(Cents(L"$-1"), -1);
    EXPECT_EQ(Cents(L"garbage"), -1);
    EXPECT_EQ(Cents(L"$1 + $2"), -1);
    EXPECT_EQ(Cents(L"1,2345"), -1);
    EXPECT_EQ(Cents(L"$5$"), -1);
    EXPECT_EQ(Cents(L"99999999999"), -1);
    EXPECT_EQ(Cents(L"21474836.47"), 2147483647);
    EXPECT_EQ(Cents(L"21474836.48"), -1);
}

TEST(kro888LocalizedTextTest, CardNamesOfOtherLanguagesBecomeTwoLetterNames)
{
    EXPECT_EQ(Cards(L"[ KHerz, 4Kreuz, 10Pik, QKaro ]"), L"Kh 4c Ts Qd");
    // Dutch: heer, vrouw, boer.
    EXPECT_EQ(Cards(L"[ Hc, Vs, Bh, Ah ]"), L"Kc Qs Jh Ah");
    // Swedish: knekt, dam, ess.
    EXPECT_EQ(Cards(L"[ Knh, Dd, Ec, Kh ]"), L"Jh Qd Ac Kh");
    // Russian letters, also as the single-byte file shows them when read as Latin.
    EXPECT_EQ(Cards(L"[ \u0412h, \u0414c, \u0422d ]"), L"Jh Qc Ad");
    EXPECT_EQ(Cards(L"[ \u00C2h, \u00C4c, \u00D2d ]"), L"Jh Qc Ad");
    EXPECT_EQ(Cards(L"[ 4h, Kc, 3s ]"), L"4h Kc 3s");
    EXPECT_EQ(Cards(L"[ Zz, Herz ]"), L"");
}
