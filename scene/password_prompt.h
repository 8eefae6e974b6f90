// The password prompt over the running scene: the check, its 20-second limit and the ways out.
#pragma once
#include <string>
#include <string_view>

#include "password/password_forms.h"

namespace kolvane {

struct Scene;

inline constexpr int password_prompt_timeout_ms = 20000;
inline constexpr const char* password_prompt_title = "Screen Saver Password";
inline constexpr const char* password_prompt_label = "Type your screen saver password:";
inline constexpr const char* wrong_password_text = "The password that you typed is not correct. Try typing it again.";
inline constexpr const char* wrong_password_title = "Passwords";

// Form_Load of the prompt: starts its time limit and shows the pointer.
void password_prompt_load(Scene& scene);
// Command1_Click: true and the scene is told to end when the entry matches regardless of case;
// otherwise the caller clears the entry and shows the wrong-password message.
bool password_prompt_check(Scene& scene, std::string_view typed);
// The same for a box's text: one holding a character the code page lacks matches no password.
bool password_prompt_check(Scene& scene, const TypedPassword& typed);
// Command2_Click and Timer1_Timer both close the prompt and leave the scene running.
void password_prompt_cancel(Scene& scene);
// Form_Unload of the prompt, on every way out.
void password_prompt_unload(Scene& scene);

}  // namespace kolvane
