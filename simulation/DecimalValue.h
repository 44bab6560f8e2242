#pragma once
// A value read into a float from a setting or a data table stands for the
// decimal its author wrote: "0.15" is held as 0.150000006. Sums and
// comparisons made in single precision drift off the round results the
// author meant (weights of 0.2 + 0.2 + 0.2 leave 39.9999962, not 40).
// DecimalValue gives back the double nearest that decimal: the shortest
// decimal that reads back as the float.

// NaN and the infinities come back as themselves.
double DecimalValue(float value);
