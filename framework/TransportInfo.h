#pragma once

// The host's transport as of the last processed block.
struct TransportInfo
{
  double tempo = 0.0;            // beats per minute
  double samplePosition = 0.0;   // project time in samples
  double musicalPosition = 0.0;  // quarter notes
  double lastBarStart = 0.0;     // quarter notes
  double cycleStart = 0.0;       // quarter notes
  double cycleEnd = 0.0;         // quarter notes
  int numerator = 4;
  int denominator = 4;
  bool playing = false;
  bool cycleActive = false;
};
