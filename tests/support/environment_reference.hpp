// The plain reference of var_tupel: the recursive definition word for word,
// with the presence test of wert_suche, against which the product's walk
// (one loop, a frame per open level, a set of the names present) is checked
// on large generated programs.
#pragma once

#include <string_view>
#include <vector>

#include "common/arena.hpp"
#include "frontend/comtypes.hpp"
#include "machine/baumwandler_package.hpp"

namespace test_support {

// reference_present returns true when `umg` has an entry named `var`: the
// presence test of wert_suche.
inline bool reference_present(std::string_view var, baumwandler_package::umgebung umg) {
    if (umg == nullptr) {
        return false;
    }
    if (umg->elem.variable_name == var) {
        return true;
    }
    return reference_present(var, umg->next);
}

namespace detail {

// The names that count as present while the siblings after their first
// occurrence are processed, besides those of the list.
inline baumwandler_package::umgebung reference_var_tupel(comtypes::grbaum gr,
                                                         baumwandler_package::umgebung var_liste,
                                                         std::vector<std::string_view>& counting) {
    namespace bp = baumwandler_package;
    if (gr == nullptr) {
        return var_liste;
    }
    if (!comtypes::is_terminal_symbol(gr->al)) {
        const bp::umgebung l1 = reference_var_tupel(gr->knoten(), var_liste, counting);
        return reference_var_tupel(gr->rest, l1, counting);
    }
    if (gr->al == comtypes::alphabet::NAMET) {
        const std::string_view name = gr->exp();
        bool present = reference_present(name, var_liste);
        for (const std::string_view n : counting) {
            present = present || n == name;
        }
        if (!present) {
            const bp::umgebung cell =
                common::make<bp::umgebung_rec>(bp::variable{bp::name_ref(name), bp::wert{}});
            counting.push_back(name);
            cell->next = reference_var_tupel(gr->rest, var_liste, counting);
            counting.pop_back();
            return cell;
        }
    }
    return reference_var_tupel(gr->rest, var_liste, counting);
}

}  // namespace detail

// reference_var_tupel is var_tupel by its definition: the node, then its
// children, then its following siblings; a new name's cell stands in front
// of what its siblings add, and the cells of `var_liste` stay as the tail.
inline baumwandler_package::umgebung reference_var_tupel(comtypes::grbaum gr,
                                                         baumwandler_package::umgebung var_liste) {
    std::vector<std::string_view> counting;
    return detail::reference_var_tupel(gr, var_liste, counting);
}

}  // namespace test_support
