// Connects the settings and the profile list to the start-up and exit hooks.
#pragma once

void wireProfiles();
