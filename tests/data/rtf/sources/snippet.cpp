// Greets the forum {politely}.
#include <cstdio>

int main()
{
	const char *tag = "[B]\\n[/B]";
	std::printf("%s\n", tag); // naïve output
	return 0;
}
