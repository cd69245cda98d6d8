#pragma once
// The particle effects draw from the program's runtime random generator.
int PlumeRand();
void PlumeSrand(unsigned seed);
