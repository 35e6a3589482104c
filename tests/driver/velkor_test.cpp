// velkor's derivation of the trace and tree file names; its whole dialogues
// are among the whole-program runs.
#include "driver/velkor.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

TEST(Concpf, SuffixGoesBeforeTheLastDot) {
    struct derivation {
        std::string_view path, tree, trace;
    };
    const std::vector<derivation> cases = {
        {"C:\\Ordner\\Datei.txt", "C:\\Ordner\\Datei_Baum.txt", "C:\\Ordner\\Datei_Trace.txt"},
        {"prog", "prog_Baum", "prog_Trace"},
        {"a.b.txt", "a.b_Baum.txt", "a.b_Trace.txt"},
        {"C:\\Ordner.alt\\prog", "C:\\Ordner_Baum.alt\\prog", "C:\\Ordner_Trace.alt\\prog"},
        {"prog.", "prog_Baum.", "prog_Trace."},
        {".txt", "_Baum.txt", "_Trace.txt"},
        {"", "_Baum", "_Trace"},
    };
    for (const derivation& c : cases) {
        std::string tree = "old";
        std::string trace;
        velkor::concpf(c.path, "_Baum", tree);
        velkor::concpf(c.path, "_Trace", trace);
        EXPECT_EQ(tree, c.tree) << c.path;
        EXPECT_EQ(trace, c.trace) << c.path;
    }
}

}  // namespace
