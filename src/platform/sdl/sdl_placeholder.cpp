// The SDL2 back end is being written.
