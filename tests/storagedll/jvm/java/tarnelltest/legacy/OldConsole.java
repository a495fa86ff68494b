package tarnelltest.legacy;

import java.io.File;
import java.net.URL;
import java.net.URLClassLoader;

/**
 * The value classes of an older console: classes of the same names, from a
 * class folder of their own, in a class loader of their own.
 */
public final class OldConsole {
    private OldConsole() {
    }

    /** A new object of the named class of the console whose classes lie in classDir. */
    public static Object newObject(String classDir, String className) throws Exception {
        URLClassLoader loader = new URLClassLoader(new URL[] {new File(classDir).toURI().toURL()},
                ClassLoader.getPlatformClassLoader());
        return loader.loadClass(className).getDeclaredConstructor().newInstance();
    }
}
