#pragma once

// Two doubles operated on lane by lane, each lane exactly as a scalar double (the
// effect's filters run the left and right channel side by side in one).
typedef double Double2 __attribute__((vector_size(16)));
