// velkor: the While interpreter with its console dialogue.
#include "common/program.hpp"
#include "driver/velkor.hpp"

int main() { return common::run_program(&velkor::velkor); }
