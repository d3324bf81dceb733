// The known word a mistyped one most likely meant, for messages that offer a
// guess ("did you mean 'ActivateCue'?").
#ifndef VREL_DEVHOST_CLOSEST_WORD_H
#define VREL_DEVHOST_CLOSEST_WORD_H

#include <string>
#include <vector>

// The word of `known` nearest to `word` when it is near enough to be worth
// offering, or the empty text.
std::string closest_word(const std::string& word, const std::vector<std::string>& known);

#endif
