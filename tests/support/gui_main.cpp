#include "gui_app.h"

// Registered before main runs, so every GUI test has the application.
static ::testing::Environment* const guiEnvironment = ::testing::AddGlobalTestEnvironment(new sp::TGuiEnvironment);
