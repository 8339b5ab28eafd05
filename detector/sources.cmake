# The virus detector page.
