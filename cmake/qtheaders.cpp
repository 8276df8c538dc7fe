// The translation unit that makes the precompiled Qt headers.
