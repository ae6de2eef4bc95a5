#include <stdio.h>

int main(void)
{
    puts("Hello from the sample tool.");
    return 0;
}
