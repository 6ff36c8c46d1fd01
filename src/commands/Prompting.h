#pragma once

/// Whether a command talks to the user: Interactive shows its messages and asks its
/// questions; Silent shows nothing and takes the answer that lets it go on.
enum class Prompting {
    Interactive,
    Silent,
};
