// Pair lists and adjacency matrices: the conversions both ways and the
// printed list.
#include "grammar/toadi.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/grammar/matrix_test_symbols.hpp"
#include "tests/support/capture.hpp"

namespace {

using namespace matrix_tests;
using test_support::on_screen;
namespace t = grammar::toadi;

// A list built by putting the pairs in front one by one, in the given order.
template <class Z>
t::tupelpoint<Z> built(const std::vector<std::pair<Z, Z>>& found) {
    t::tupelpoint<Z> list = nullptr;
    for (const auto& [x, y] : found) {
        list = t::prepend(x, y, list);
    }
    return list;
}

// The list's pairs in list order, as "AB BC".
template <class Z>
std::string pairs_of(t::tupelpoint<Z> list) {
    std::string text;
    for (; list != nullptr; list = list->rest) {
        if (!text.empty()) {
            text += ' ';
        }
        text += static_cast<char>(list->pos1);
        text += static_cast<char>(list->pos2);
    }
    return text;
}

TEST(Toadi, ListToMatrix) {
    EXPECT_EQ(t::erzeugeadimatrix<letter>(nullptr), filled<letter>(false));
    const auto twice = built<letter>({{L('B'), L('E')}, {L('B'), L('E')}});
    EXPECT_EQ(cells_of(t::erzeugeadimatrix(twice)), "BE");
}

TEST(Toadi, MatrixToList) {
    EXPECT_EQ(t::erzeugemenge(filled<letter>(false)), nullptr);
    EXPECT_EQ(pairs_of(t::erzeugemenge(cells<short_letter>("AA BB CC"))), "AA BB CC");
    EXPECT_EQ(pairs_of(t::erzeugemenge(filled<short_letter>(true))), "AA AB AC BA BB BC CA CB CC");
}

TEST(Toadi, RoundTripKeepsEachDistinctPairOnceInAscendingOrder) {
    const auto scrambled = built<letter>({{L('E'), L('A')},
                                          {L('A'), L('F')},
                                          {L('C'), L('C')},
                                          {L('A'), L('F')},
                                          {L('A'), L('B')},
                                          {L('E'), L('A')}});
    EXPECT_EQ(pairs_of(scrambled), "EA AB AF CC AF EA");  // newest first, duplicates stay
    EXPECT_EQ(pairs_of(t::erzeugemenge(t::erzeugeadimatrix(scrambled))), "AB AF CC EA");
}

TEST(Toadi, PrintedList) {
    EXPECT_EQ(t::text_of<parentheses>(nullptr), "\n   M:={}\n");

    // Anfang of the balanced-parentheses grammar, in the order found.
    const auto anfang = built<parentheses>({{parentheses::S, parentheses::AUF},
                                            {parentheses::AUF, parentheses::AUF},
                                            {parentheses::ZU, parentheses::ZU},
                                            {parentheses::ENDE, parentheses::ENDE}});
    const std::string expected = "\n   M:={('#','#');(ZU,ZU);(AUF,AUF);(S,AUF);}\n";
    EXPECT_EQ(t::text_of(anfang), expected);

    const auto twice =
        built<parentheses>({{parentheses::S, parentheses::ZU}, {parentheses::S, parentheses::ZU}});
    EXPECT_EQ(t::text_of(twice), "\n   M:={(S,ZU);(S,ZU);}\n");

    const auto screen = on_screen([&] { t::druckemenge(anfang); });
    EXPECT_EQ(screen.error, "");
    EXPECT_EQ(screen.text, expected);
}

TEST(Toadi, MatrixPrintIsTheMatrixTable) {
    const auto chain = cells<letter>("AB BC");
    const auto screen = on_screen([&] { t::druckematrix(chain, "Matrix 3"); });
    EXPECT_EQ(screen.error, "");
    EXPECT_EQ(screen.text, grammar::matrix::text_of(chain, "Matrix 3"));
}

}  // namespace
