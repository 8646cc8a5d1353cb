#include "profiles/ProfileHooks.h"

ProfileHooks& profileHooks() {
    static ProfileHooks hooks;
    return hooks;
}
