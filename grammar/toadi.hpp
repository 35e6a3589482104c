// Relations over a symbol type in two forms: a linked list of pairs, the form
// in which a grammar's relations are built and printed, and the adjacency
// matrix, the form in which hulls and compositions are computed.
//
// A pair list is an ordered sequence, not a set: every new pair goes in front
// and duplicates stay. Its cells come from the arena and are never changed
// once in a list; no grammar program opens an arena scope, so they stay to
// the program's end.
#pragma once

#include <string>
#include <string_view>

#include "common/arena.hpp"
#include "common/textio.hpp"
#include "grammar/matrix.hpp"
#include "grammar/symbols.hpp"

namespace grammar::toadi {

namespace mat = grammar::matrix;

// One pair (pos1, pos2) of a relation and the next pair, null after the last.
template <symbol_type Z>
struct tupel {
    Z pos1;
    Z pos2;
    tupel* rest;
};

// A relation: its first pair, null for the empty relation.
template <symbol_type Z>
using tupelpoint = tupel<Z>*;

// prepend returns the list rest with the new pair (pos1, pos2) in front.
template <symbol_type Z>
tupelpoint<Z> prepend(Z pos1, Z pos2, tupelpoint<Z> rest) {
    return common::make<tupel<Z>>(pos1, pos2, rest);
}

// erzeugeadimatrix returns the adjacency matrix: cell (pos1, pos2) True for
// every pair of the list, every other cell False.
template <symbol_type Z>
mat::z_matrix<Z> erzeugeadimatrix(tupelpoint<Z> zeiger) {
    mat::z_matrix<Z> result;
    for (; zeiger != nullptr; zeiger = zeiger->rest) {
        result[zeiger->pos1][zeiger->pos2] = true;
    }
    return result;
}

// erzeugemenge returns a new list with one pair per True cell, the smallest
// pair first (rows, then columns, ascending).
template <symbol_type Z>
tupelpoint<Z> erzeugemenge(const mat::z_matrix<Z>& m) {
    tupelpoint<Z> result = nullptr;
    for (Z i : all_symbols_descending<Z>()) {
        for (Z j : all_symbols_descending<Z>()) {
            if (m[i][j]) {
                result = prepend(i, j, result);
            }
        }
    }
    return result;
}

// druckematrix prints m1 under the title exactly as matrix::drucke does.
template <symbol_type Z>
void druckematrix(const mat::z_matrix<Z>& m1, std::string_view bezeichner) {
    mat::drucke(m1, bezeichner);
}

// text_of returns the text that druckemenge prints: a line end, then
// "   M:={", "(X,Y);" for every pair in list order, "}" and a line end.
template <symbol_type Z>
std::string text_of(tupelpoint<Z> point) {
    std::string text = "\n   M:={";
    for (; point != nullptr; point = point->rest) {
        text += '(';
        text += image(point->pos1);
        text += ',';
        text += image(point->pos2);
        text += ");";
    }
    text += "}\n";
    return text;
}

// druckemenge prints the pair list on standard output.
template <symbol_type Z>
void druckemenge(tupelpoint<Z> point) {
    common::standard_output().put(text_of(point));
}

}  // namespace grammar::toadi
