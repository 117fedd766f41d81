// Work done in steps, each of which may be undone (making a site app: its
// folder, its settings, its icon, its shortcut and entry, its start).
#pragma once

#include <cstddef>

// Runs steps[0..count) on subject in order until one fails, then undoes the
// ones before it, last first. The step that failed undoes nothing: what it
// found in its way may be another's (a folder of the same name made
// meanwhile). Returns the index of the step that failed, or count.
template <typename Step, typename Subject>
size_t RunStepsWithUndo(const Step* steps, size_t count, const Subject& subject) {
    for (size_t done = 0; done < count; ++done) {
        if (steps[done].run(subject)) continue;
        for (size_t undo = done; undo-- > 0;)
            if (steps[undo].undo) steps[undo].undo(subject);
        return done;
    }
    return count;
}
