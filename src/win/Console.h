// A windowed program has no console of its own; started from one, it writes there.
#pragma once

// When standard output and error lead nowhere (a windowed program started from a console
// without redirection), joins the console of the starting process and points them at it.
// Redirected or piped streams stay as they are.
void AttachStartingConsole();
