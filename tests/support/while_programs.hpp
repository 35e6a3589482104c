// While program texts: nested to a given depth, for the tests of deep trees,
// and generated at random, for the tests that compare a fast path with a
// plain one.
#pragma once

#include <random>
#include <string>
#include <string_view>
#include <utility>

namespace test_support {

// nested returns `text` followed by `depth` times `open`, then `inner`, then
// `depth` times `close`.
inline std::string nested(std::string text, std::string_view open, std::string_view inner,
                          std::string_view close, int depth) {
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

// nested_loops returns `prefix` and `depth` loops, each the only statement
// of the one around it, with skip innermost.
inline std::string nested_loops(std::string prefix, int depth) {
    return nested(std::move(prefix), "while x<1 do ", "skip", " od", depth);
}

inline std::string nested_loops(int depth) {
    return nested_loops("", depth);
}

// nested_ifs returns `prefix` and `depth` conditional statements, each the
// then part of the one around it, with skip innermost.
inline std::string nested_ifs(std::string prefix, int depth) {
    return nested(std::move(prefix), "if x<1 then ", "skip", " else skip fi", depth);
}

inline std::string nested_ifs(int depth) {
    return nested_ifs("", depth);
}

// nested_parentheses returns an assignment of `depth` nested sums.
inline std::string nested_parentheses(int depth) {
    return nested("x:=", "(1+", "1", ")", depth);
}

// program_generator writes random While programs of every statement kind:
// long lists, nested ifs and loops, every operator and comparison, numbers up
// to the 32-bit limit. Every loop counts a counter of its own up to a small
// bound, so most runs end; some fail on a division by zero, an overflow or
// the undefined variable u.
class program_generator {
public:
    explicit program_generator(unsigned seed) : random_(seed) {}

    // A program: the variables a to f set first, then `length` statements.
    std::string program(int length, int depth) {
        std::string text;
        for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
            text += name;
            text += " := " + std::to_string(pick(0, 30)) + "; ";
        }
        list(text, length, depth);
        return text;
    }

private:
    // The same programs from every compiler and library: the engine's
    // sequence is fixed by the standard, and every piece is drawn and
    // appended in reading order.
    int pick(int low, int high) {
        return low + static_cast<int>(random_() % static_cast<unsigned>(high - low + 1));
    }
    char variable() { return "abcdef"[pick(0, 5)]; }

    void list(std::string& text, int length, int depth) {
        for (int i = 0; i < length; ++i) {
            text += i == 0 ? "" : "; ";
            statement(text, depth);
        }
    }

    void statement(std::string& text, int depth) {
        const int kind = depth > 0 ? pick(0, 9) : pick(0, 5);
        if (kind <= 4) {
            text += variable();
            text += " := ";
            expression(text, pick(0, 3));
        } else if (kind == 5) {
            text += "skip";
        } else if (kind <= 7) {
            text += "if ";
            condition(text);
            text += " then ";
            list(text, pick(1, 3), depth - 1);
            text += " else ";
            list(text, pick(1, 3), depth - 1);
            text += " fi";
        } else {
            std::string counter = "z";
            counter += std::to_string(next_counter_++);
            text += counter + " := 0; while " + counter + " < " + std::to_string(pick(0, 3)) + " do ";
            list(text, pick(1, 3), depth - 1);
            text += "; " + counter + " := (" + counter + " + 1) od";
        }
    }

    void expression(std::string& text, int depth) {
        const int kind = depth > 0 ? pick(0, 6) : pick(0, 2);
        if (kind == 0) {
            const int size = pick(0, 20);
            text += size == 0 ? "2147483647" : std::to_string(pick(0, size * size));
        } else if (kind <= 2) {
            text += pick(0, 60) == 0 ? 'u' : variable();
        } else {
            static const char* const operators[] = {"+", "-", "*", "div", "mod"};
            const char* op = operators[pick(0, 4)];
            text += '(';
            expression(text, depth - 1);
            text += std::string(" ") + op + " ";
            // A divisor is mostly a number of 1 or more; a name may be 0.
            if ((op[0] == 'd' || op[0] == 'm') && pick(0, 4) != 0) {
                text += std::to_string(pick(1, 9));
            } else {
                expression(text, depth - 1);
            }
            text += ')';
        }
    }

    void condition(std::string& text) {
        static const char* const comparisons[] = {"<", "=", ">", "<=", "/=", ">="};
        expression(text, pick(0, 2));
        text += std::string(" ") + comparisons[pick(0, 5)] + " ";
        expression(text, pick(0, 2));
    }

    std::mt19937 random_;
    int next_counter_ = 0;
};

}  // namespace test_support
