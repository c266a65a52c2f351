int gamePlaceholder = 0;
