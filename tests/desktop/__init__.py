"""The real-session checks: the program on real display servers and buses, used as a person does."""
