#include "media_player.h"

#include "contract/action_params.h"

namespace lumidor {

const Command* FindCommand(const char* word) noexcept { return contract::FindWord(kCommands, word); }

std::intptr_t PerformAction(const contract::ActionParams* params, PlayerPort& player) {
  // One or two parameters; the first names the command, the second is accepted and not used.
  if (!contract::AcceptsBlock(params, 1, 2, 1)) return 0;
  const std::uintptr_t window = player.FindPlayerWindow();
  if (window == 0) return 0;
  const char* word = contract::ParamsView(params).text(0);
  if (contract::SameWord(contract::BoundedText(word, kGetHandleWord.size() + 1), kGetHandleWord)) {
    return static_cast<std::intptr_t>(window);
  }
  const Command* command = FindCommand(word);
  if (command == nullptr) return 0;
  return player.SendCommand(window, command->code);
}

}  // namespace lumidor
