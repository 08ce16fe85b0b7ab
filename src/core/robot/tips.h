#pragma once
// The robot's tips and jokes: two lists of fixed English lines, not translatable. Both are
// filled once, on first use, in a fixed order, so with the never-seeded program generator
// the n-th tip or joke of a run is the same in every run.
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

std::vector<std::string>& TipList();
std::vector<std::string>& JokeList();

void AddTip(std::string_view text);
void AddJoke(std::string_view text);

// A random entry drawn with replacement from the program generator; "" for an empty list.
std::string RandomTip();
std::string RandomJoke();

} // namespace orvan
