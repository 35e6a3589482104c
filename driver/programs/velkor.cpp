// velkor: the While interpreter with its console dialogue.
#include "driver/velkor.hpp"

#include "common/program.hpp"

int main() {
    return common::run_program(&velkor::velkor);
}
