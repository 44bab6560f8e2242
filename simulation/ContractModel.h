#pragma once
// The contract model's plain records. The contract-model issue fills in
// their fields; the airline schedule only derives from the airline record
// and frees flight records.
struct cContract_Airline {};
struct cContract_Flight {};
